#include "startup/mdlmain.h"

#include "mainwin/frmvaldorendokumen.h"
#include "transfer/programfiles.h"
#include "transfer/windowlanguage.h"
#include "uicommon/dialogseam.h"

#include <QCoreApplication>
#include <QDir>

namespace mdlMain {

QString programFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

bool Main()
{
    return startIn(programFolder());
}

bool startIn(const QString &folder)
{
    transfer::useWindowLanguage();
    if (!transfer::isOrdinaryFile(transfer::newCodesPath(folder))) {
        DialogSeam::current().showMessage(
            nullptr, QStringLiteral("Tidak ada file 'NewCodes.mdb' di folder ") + folder);
        return false;
    }
    auto *window = new frmValdorenDokumen(folder);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->centreOnScreen();
    window->show();
    return true;
}

} // namespace mdlMain
