// Starts the program as its start-up does, presses Ok on a given target, and
// reports on stdout what an operator would see: every status line with the
// moment it was shown (milliseconds on the monotonic clock all processes
// share), every message, and the status line at the end. Options act as an operator or another program would
// during the run:
// --cancel-after MS and --close-after MS press Cancel or close the window;
// --at-first-row move-target|lock-folder|garble-target moves the target away,
// makes its folder read-only, or garbles its middle in place, once the first
// row is shown; move-target-once-saved first waits for those rows to be saved.
#include "fakedialogs.h"
#include "mainwin/frmvaldorendokumen.h"
#include "startup/mdlmain.h"
#include "testdatabases.h"
#include "uicommon/dialogseam.h"
#include "uicommon/messagebox.h"

#include <cstdio>
#include <functional>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <utility>

namespace {

void report(const char *kind, const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    std::printf("%s %lld %s\n", kind, static_cast<long long>(testsupport::monotonicMilliseconds()),
                qPrintable(line));
    std::fflush(stdout);
}

class ReportingDialogs : public DialogSeam
{
public:
    void showMessage(QWidget *, const QString &text) override
    {
        if (reportStatusLine)
            reportStatusLine(); // the last row, shown before the message
        MessageBox box(text);
        report("message", readAloud(&box)); // as a screen reader reads the box
    }
    QString chooseFile(QFileDialog &) override { return {}; }
    std::function<void()> reportStatusLine;
};

void actOnTarget(const QString &action, const QString &target)
{
    // The open transaction's journal goes once its rows are saved.
    while (action == QLatin1String("move-target-once-saved")
           && QFileInfo::exists(target + QStringLiteral("-journal")))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (action.startsWith(QLatin1String("move-target")))
        QFile::rename(target, target + QStringLiteral(".moved"));
    else if (action == QLatin1String("lock-folder"))
        testsupport::makeReadOnly(QFileInfo(target).absolutePath());
    else if (action == QLatin1String("garble-target"))
        testsupport::garbleMiddle(target);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: runhelper PROGRAM_FOLDER TARGET [--replace-source-with-folder] [--cancel-after MS]"
                   " [--close-after MS] [--at-first-row ACTION]\n",
                   stderr);
        return 2;
    }
    ReportingDialogs dialogs;
    DialogSeam::setCurrent(&dialogs);
    listenAsAScreenReader();
    if (!mdlMain::startIn(args.at(1)))
        return 0;
    frmValdorenDokumen *window = nullptr;
    for (QWidget *topLevel : QApplication::topLevelWidgets()) {
        if (auto *main = qobject_cast<frmValdorenDokumen *>(topLevel))
            window = main;
    }
    window->txtFileName->setText(args.at(2));
    if (args.contains(QStringLiteral("--replace-source-with-folder"))) {
        const QString source = QDir(args.at(1)).filePath(QStringLiteral("NewCodes.mdb"));
        QFile::remove(source);
        QDir().mkdir(source);
    }

    const auto option = [&args](const char *name) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at > 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
    };
    QString firstRowAction = option("--at-first-row");
    const QString idleText = window->lblInfo->text();
    QString lastShown;
    dialogs.reportStatusLine = [&] {
        if (window->lblInfo->text() == lastShown)
            return;
        lastShown = window->lblInfo->text();
        report("row", lastShown);
        if (lastShown != idleText)
            actOnTarget(std::exchange(firstRowAction, QString()), args.at(2));
    };
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, window, dialogs.reportStatusLine);
    probe.start();
    if (const QString ms = option("--cancel-after"); !ms.isEmpty())
        QTimer::singleShot(ms.toInt(), window->Command2, &QPushButton::click);
    if (const QString ms = option("--close-after"); !ms.isEmpty())
        QTimer::singleShot(ms.toInt(), window, &QWidget::close);
    window->cmdOk->click();
    probe.stop();
    report("end", window->lblInfo->text());
    return 0;
}
