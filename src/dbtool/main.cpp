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
        return 1;
    }
    try {
        dbcommands::run(app.arguments().mid(1), out);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "valdoren-db: %s\n", error.what());
        return 1;
    }
    out.flush();
    return 0;
}
