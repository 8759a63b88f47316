#pragma once

#include <QString>
#include <QStringList>

// Where the four Lorvanta programs keep their databases when installed in
// their default folders.
namespace defaulttargets {

// In the order they are tried, as Windows writes them.
QStringList windowsPaths();

// The first default database that exists as an ordinary file, as Windows
// writes its path, or empty text. The paths after it are not tested.
QString firstInstalled();

// A common-dialog filter ("description|pattern; pattern|...") in Qt's form
// ("description (pattern pattern)"), one entry per pair.
QStringList qtNameFilters(const QString &commonDialogFilter);

} // namespace defaulttargets
