#include "dbtool/dbcommands.h"

#include <cstdio>
#include <QCoreApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
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
        std::fprintf(stderr, "valdoren-db: %s\n", error.what());
        return dbcommands::Failed;
    }
}
