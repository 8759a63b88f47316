#include "dataaccess/windowspath.h"

#include <optional>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>

namespace dataaccess {

namespace {

#ifndef Q_OS_WIN
struct Drive
{
    QChar letter; // lower case, as dosdevices/ names it
    QString root; // canonical
};

QString winePrefix()
{
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return prefix.isEmpty() ? QDir::home().filePath(QStringLiteral(".wine")) : prefix;
}

// Where Wine looks for a drive: dosdevices/x:, and for C: a bare drive_c
// where the prefix keeps no such link. A drive the prefix does not define
// leads to a folder that does not exist.
QString driveFolder(QChar letter)
{
    const QDir prefix(winePrefix());
    const QString link = prefix.filePath(QStringLiteral("dosdevices/%1:").arg(letter.toLower()));
    const QString driveC = prefix.filePath(QStringLiteral("drive_c"));
    if (letter.toLower() == QLatin1Char('c') && !QFileInfo(link).isDir() && QFileInfo(driveC).isDir())
        return driveC;
    return link;
}

// The entry of folder called name: exactly, else without regard to case,
// as Wine finds it on a case-sensitive file system.
std::optional<QString> entryIn(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList entries
        = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return std::nullopt;
}

// The drives of the prefix but Z:, which stands for the whole file system.
QList<Drive> prefixDrives()
{
    QList<Drive> drives;
    for (char letter = 'a'; letter < 'z'; ++letter) {
        const QString root = QFileInfo(driveFolder(QLatin1Char(letter))).canonicalFilePath();
        if (!root.isEmpty())
            drives.append({QLatin1Char(letter), root});
    }
    return drives;
}
#endif

} // namespace

QString localFilePath(const QString &path)
{
#ifdef Q_OS_WIN
    return path;
#else
    static const QRegularExpression drivePath(QStringLiteral("^([A-Za-z]):([\\\\/]|$)"));
    const QRegularExpressionMatch match = drivePath.match(path);
    if (!match.hasMatch())
        return path;
    // As Windows reads them: "." stays, ".." goes up, but never above the
    // drive's root.
    QStringList names;
    for (const QString &name :
         path.mid(2).split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts)) {
        if (name == QLatin1String("..")) {
            if (!names.isEmpty())
                names.removeLast();
        } else if (name != QLatin1String(".")) {
            names << name;
        }
    }
    QString current = driveFolder(match.captured(1).at(0));
    for (qsizetype i = 0; i < names.size(); ++i) {
        const std::optional<QString> entry = entryIn(current, names.at(i));
        if (!entry)
            return QDir(current).filePath(names.mid(i).join(QLatin1Char('/')));
        current = *entry;
    }
    return current;
#endif
}

QString windowsFormOf(const QString &localPath)
{
#ifdef Q_OS_WIN
    return localPath;
#else
    const QString canonical = QFileInfo(localPath).canonicalFilePath();
    if (canonical.isEmpty())
        return localPath;
    std::optional<Drive> best;
    for (const Drive &drive : prefixDrives()) {
        // A drive that is the root itself holds everything and says nothing.
        const bool inside = canonical.startsWith(drive.root + QLatin1Char('/'));
        if (inside && (!best || drive.root.size() > best->root.size()))
            best = drive;
    }
    if (!best)
        return localPath;
    QString rest = canonical.mid(best->root.size());
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!rest.startsWith(QLatin1Char('\\')))
        rest.prepend(QLatin1Char('\\'));
    return best->letter.toUpper() + QLatin1Char(':') + rest;
#endif
}

QString wineCDrive()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    const QString folder = driveFolder(QLatin1Char('c'));
    return QFileInfo(folder).isDir() ? folder : QString();
#endif
}

} // namespace dataaccess
