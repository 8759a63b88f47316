#include "dataaccess/windowspath.h"

#include <algorithm>
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

// Where Wine looks for a drive: dosdevices/x:. A link that leads nowhere
// (a drive not mounted) or to a plain file is a drive without files; only a
// prefix with no link for C: at all keeps that drive in drive_c.
QString driveFolder(QChar letter)
{
    const QDir prefix(winePrefix());
    const QFileInfo link(prefix.filePath(QStringLiteral("dosdevices/%1:").arg(letter.toLower())));
    if (letter.toLower() == QLatin1Char('c') && !link.exists() && !link.isSymLink())
        return prefix.filePath(QStringLiteral("drive_c"));
    return link.filePath();
}

// The names of a drive path after its "X:", as Wine (and Windows) reads
// them: "." stays, and so does a folder named by three dots or more, as in
// "C:\Karsela\...\ROZ5"; ".." leaves the name before it but never the
// drive's root, a folder's name loses one trailing dot, and the last name
// all its trailing dots and spaces. A path that ends in a separator, or in
// a name left empty, names a folder at most.
struct WindowsNames
{
    QStringList names;
    bool folderOnly = false;
};

bool isDotsOnly(const QString &name)
{
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c == QLatin1Char('.'); });
}

QString withoutTrailingDotsAndSpaces(QString name)
{
    while (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

WindowsNames windowsNames(const QString &afterDrive)
{
    static const QRegularExpression separator(QStringLiteral("[\\\\/]"));
    const QStringList pieces = afterDrive.split(separator);
    WindowsNames read;
    for (const QString &piece : pieces) {
        if (piece == QLatin1String("..")) {
            if (!read.names.isEmpty())
                read.names.removeLast();
        } else if (!isDotsOnly(piece)) {
            read.names << (piece.endsWith(QLatin1Char('.')) ? piece.chopped(1) : piece);
        }
    }
    bool folderOnly = pieces.last().isEmpty();
    if (!folderOnly && !read.names.isEmpty()) {
        read.names.last() = withoutTrailingDotsAndSpaces(read.names.last());
        folderOnly = read.names.last().isEmpty();
        if (folderOnly)
            read.names.removeLast();
    }
    read.folderOnly = folderOnly || read.names.isEmpty();
    return read;
}

// Names compared as Wine compares them where the exact one is missing: one
// UTF-16 unit at a time, by its upper case, not by Unicode's case folding
// (the Kelvin sign is no "k", a dotless "ı" is an "I").
bool sameIgnoringCase(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i).toUpper() != b.at(i).toUpper())
            return false;
    }
    return true;
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
        if (sameIgnoringCase(entry, name))
            return dir.filePath(entry);
    }
    return std::nullopt;
}

// The drives of the prefix but Z:, which stands for the whole file system.
QList<Drive> prefixDrives()
{
    QList<Drive> drives;
    for (char letter = 'a'; letter < 'z'; ++letter) {
        const QFileInfo folder(driveFolder(QLatin1Char(letter)));
        if (folder.isDir())
            drives.append({QLatin1Char(letter), folder.canonicalFilePath()});
    }
    return drives;
}

// A path as the entry it names: its folder's canonical path, then its own
// name, so that a symbolic link stands for itself and not for what it leads
// to; empty where that folder is not there.
QString entryPath(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty() || info.fileName().isEmpty())
        return {};
    return QDir(folder).filePath(info.fileName());
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
    const WindowsNames read = windowsNames(path.mid(2));
    QString current = driveFolder(match.captured(1).at(0));
    for (qsizetype i = 0; i < read.names.size(); ++i) {
        const std::optional<QString> entry = entryIn(current, read.names.at(i));
        if (!entry) {
            current = QDir(current).filePath(read.names.mid(i).join(QLatin1Char('/')));
            break;
        }
        current = *entry;
    }
    // Ending in a separator, it names no file, as on Windows.
    return read.folderOnly ? current + QLatin1Char('/') : current;
#endif
}

QString windowsFormOf(const QString &localPath)
{
#ifdef Q_OS_WIN
    return localPath;
#else
    const QString entry = entryPath(localPath);
    if (entry.isEmpty())
        return localPath;
    const QString folder = QFileInfo(entry).path() + QLatin1Char('/');
    std::optional<Drive> best;
    for (const Drive &drive : prefixDrives()) {
        // A drive that is the root itself holds everything and says nothing.
        const bool inside = folder.startsWith(drive.root + QLatin1Char('/'));
        if (inside && (!best || drive.root.size() > best->root.size()))
            best = drive;
    }
    if (!best)
        return localPath;
    QString form = entry.mid(best->root.size());
    form.replace(QLatin1Char('/'), QLatin1Char('\\'));
    form.prepend(best->letter.toUpper() + QLatin1Char(':'));
    // Only a form that leads back to this very entry: a Linux name holding a
    // backslash, or ending in a dot or a space, would lead elsewhere.
    return entryPath(localFilePath(form)) == entry ? form : localPath;
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
