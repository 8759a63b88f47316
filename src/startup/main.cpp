#include "startup/mdlmain.h"

#include <cstdio>
#include <cstring>
#include <QApplication>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// --version and --help are answered before any window system is reached, so
// that both work without a display.
bool answeredAnOption(int argc, char *argv[])
{
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--version") == 0)
        std::puts("valdoren " VALDOREN_VERSION);
    else if (std::strcmp(argv[1], "--help") == 0)
        std::puts("usage: valdoren [--version | --help]");
    else
        return false;
    return true;
}

// Where no session bus runs, libdbus starts one through dbus-launch for the
// first connection (Qt's accessibility bridge makes one at start), and that
// bus outlives the program. An address of a transport libdbus does not know
// fails every connection at once, and starts nothing. A bus that runs, named
// in the environment or at $XDG_RUNTIME_DIR/bus as libdbus finds it, is
// used as it is.
void keepFromStartingASessionBus()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QByteArray runtimeFolder = qgetenv("XDG_RUNTIME_DIR");
    struct stat bus;
    if (!runtimeFolder.isEmpty() && ::lstat((runtimeFolder + "/bus").constData(), &bus) == 0
        && S_ISSOCK(bus.st_mode) && bus.st_uid == ::getuid())
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

} // namespace

int main(int argc, char *argv[])
{
    if (answeredAnOption(argc, argv))
        return 0;
    keepFromStartingASessionBus();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (!mdlMain::Main())
        return 0;
    return QApplication::exec();
}
