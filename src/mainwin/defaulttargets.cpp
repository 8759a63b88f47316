#include "mainwin/defaulttargets.h"

#include "transfer/programfiles.h"

#include <QDir>
#include <QFileInfo>

namespace defaulttargets {

QStringList windowsPaths()
{
    return {
        QStringLiteral("C:\\Karsela\\ROZ5\\dbROZ.mdb"),
        QStringLiteral("C:\\Karsela\\VAM53\\dbVAM.mdb"),
        QStringLiteral("C:\\Karsela\\LUG25\\dbLUG.mdb"),
        QStringLiteral("C:\\Karsela\\SOMA1.3\\dbSOMA.mdb"),
    };
}

QString cDriveFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty())
        prefix = QDir::home().filePath(QStringLiteral(".wine"));
    for (const QString &drive : {QStringLiteral("dosdevices/c:"), QStringLiteral("drive_c")}) {
        const QString folder = QDir(prefix).filePath(drive);
        if (QFileInfo(folder).isDir())
            return QDir::toNativeSeparators(folder);
    }
    return {};
#endif
}

QString localPath(const QString &windowsPath, const QString &cDrive)
{
    if (cDrive.isEmpty())
        return {};
#ifdef Q_OS_WIN
    return windowsPath;
#else
    const QString rest = windowsPath.mid(3); // after "C:\"
    return QDir::toNativeSeparators(
        QDir(cDrive).filePath(QString(rest).replace(QLatin1Char('\\'), QLatin1Char('/'))));
#endif
}

QString firstInstalled()
{
    const QString cDrive = cDriveFolder();
    for (const QString &windowsPath : windowsPaths()) {
        const QString path = localPath(windowsPath, cDrive);
        if (transfer::isOrdinaryFile(path))
            return path;
    }
    return {};
}

QStringList qtNameFilters(const QString &commonDialogFilter)
{
    const QStringList parts = commonDialogFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : parts.at(i + 1).split(QLatin1Char(';'))) {
            if (!pattern.trimmed().isEmpty())
                patterns << pattern.trimmed();
        }
        filters << QStringLiteral("%1 (%2)").arg(parts.at(i).trimmed(), patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

} // namespace defaulttargets
