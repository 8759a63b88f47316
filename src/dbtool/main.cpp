#include "dbtool/dbcommands.h"

#include <csignal>
#include <cstdio>
#include <QCoreApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // A closed pipe then fails a write, which is told, where SIGPIPE would
    // end the program without a word; ignored to the end, for the last flush
    // may fail as well.
    std::signal(SIGPIPE, SIG_IGN);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        std::fputs("valdoren-db: cannot write to standard output\n", stderr);
        return dbcommands::Failed;
    }
    try {
        const int status = dbcommands::run(app.arguments().mid(1), out);
        // A full disk, say, fails the writes quietly until here.
        if (!out.flush() || out.error() != QFileDevice::NoError) {
            std::fprintf(stderr, "valdoren-db: standard output cannot be written (%s)\n",
                         qPrintable(out.errorString()));
            return dbcommands::Failed;
        }
        return status;
    } catch (const std::exception &error) {
        out.flush();
        // A name or a path in it shown as it is.
        std::fprintf(stderr, "valdoren-db: %s\n",
                     dbcommands::escapedControls(QString::fromUtf8(error.what())).toUtf8().constData());
        return dbcommands::Failed;
    }
}
