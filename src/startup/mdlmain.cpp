#include "startup/mdlmain.h"

#include "mainwin/dialogseam.h"
#include "mainwin/frmvaldorendokumen.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mdlMain {

QString programFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString sourcePath(const QString &folder)
{
    return folder + QDir::separator() + QStringLiteral("NewCodes.mdb");
}

bool isOrdinaryFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
#ifdef Q_OS_WIN
    // Hidden and system files count as absent there; elsewhere "hidden" only
    // means a leading dot, which says nothing about the file.
    if (info.isHidden())
        return false;
#endif
    return true;
}

bool Main()
{
    return startIn(programFolder());
}

bool startIn(const QString &folder)
{
    if (!isOrdinaryFile(sourcePath(folder))) {
        DialogSeam::current().showMessage(
            nullptr, QStringLiteral("Tidak ada file 'NewCodes.mdb' di folder ") + folder);
        return false;
    }
    auto *window = new frmValdorenDokumen;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->centreOnScreen();
    window->show();
    return true;
}

} // namespace mdlMain
