// Starts the program as its start-up does, presses Ok on a given target, and
// reports on stdout what an operator would see: every status line with the
// moment it was shown (milliseconds on the monotonic clock all processes
// share), every message, and the status line at the end.
#include "mainwin/frmvaldorendokumen.h"
#include "startup/mdlmain.h"
#include "testdatabases.h"
#include "uicommon/dialogseam.h"

#include <cstdio>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

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
    void showMessage(QWidget *, const QString &text) override { report("message", text); }
    QString chooseFile(QFileDialog &) override { return {}; }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: runhelper PROGRAM_FOLDER TARGET [--replace-source-with-folder]\n", stderr);
        return 2;
    }
    ReportingDialogs dialogs;
    DialogSeam::setCurrent(&dialogs);
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

    QString lastShown;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, window, [&] {
        if (window->lblInfo->text() != lastShown) {
            lastShown = window->lblInfo->text();
            report("row", lastShown);
        }
    });
    probe.start();
    window->cmdOk->click();
    probe.stop();
    report("end", window->lblInfo->text());
    return 0;
}
