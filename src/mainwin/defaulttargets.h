#pragma once

#include <QString>
#include <QStringList>

// Where the four Lorvanta programs keep their databases when installed in
// their default folders.
namespace defaulttargets {

// In the order they are tried, as Windows writes them.
QStringList windowsPaths();

// The folder that stands for drive C: here. On Windows, "C:\"; elsewhere the
// programs run under Wine, so it is the C: drive of the user's Wine prefix
// ($WINEPREFIX, else ~/.wine): its dosdevices/c:, or its drive_c. Empty when
// there is none.
QString cDriveFolder();

// A "C:\..." path as the platform writes it, inside cDrive; empty when cDrive
// is empty.
QString localPath(const QString &windowsPath, const QString &cDrive);

// The first default database that exists as an ordinary file, or empty text.
// The paths after it are not tested.
QString firstInstalled();

// A common-dialog filter ("description|pattern; pattern|...") in Qt's form
// ("description (pattern pattern)"), one entry per pair.
QStringList qtNameFilters(const QString &commonDialogFilter);

} // namespace defaulttargets
