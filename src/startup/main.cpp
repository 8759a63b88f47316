#include "startup/mdlmain.h"

#include <cstdio>
#include <cstring>
#include <QApplication>

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

} // namespace

int main(int argc, char *argv[])
{
    if (answeredAnOption(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (!mdlMain::Main())
        return 0;
    return QApplication::exec();
}
