#include "startup/mdlmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (!mdlMain::Main())
        return 0;
    return QApplication::exec();
}
