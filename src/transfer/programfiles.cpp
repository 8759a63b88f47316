#include "transfer/programfiles.h"

#include "dataaccess/windowspath.h"

#include <QDir>
#include <QFileInfo>

namespace transfer {

QString newCodesPath(const QString &programFolder)
{
    return programFolder + QDir::separator() + QStringLiteral("NewCodes.mdb");
}

bool isOrdinaryFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(dataaccess::localFilePath(path));
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

} // namespace transfer
