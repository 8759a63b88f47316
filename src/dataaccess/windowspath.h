#pragma once

#include <QString>

// The Lorvanta programs are Windows programs; here they run under Wine, and
// their operators know a database as "C:\Karsela\ROZ5\dbROZ.mdb". These
// functions reach such a path's file the way Wine does, and give a local
// path back in that form.
namespace dataaccess {

// The file a path names. A path with a drive letter ("C:\...", "c:/...",
// either slash) is looked up in the Wine prefix ($WINEPREFIX, else
// ~/.wine): the drive through its dosdevices/ link (C: through drive_c
// only when the prefix has no such link at all; a link that leads nowhere
// is a drive without files), then each name as Wine reads it (a folder's
// without one trailing dot, the last without all its trailing dots and
// spaces), exactly, or without regard to case when no exact match exists.
// Where no file matches, the result names none; a path that ends in a
// separator names a folder at most. Any other path is returned unchanged.
QString localFilePath(const QString &path);

// The Windows form ("C:\Karsela\ROZ5\dbROZ.mdb") of a local path whose
// folder lies inside a drive of the Wine prefix, other than the one
// standing for the whole file system (Z:), where that form names the very
// same entry: a symbolic link keeps its own name. Any other path unchanged.
QString windowsFormOf(const QString &localPath);

// The folder standing for drive C: in the Wine prefix, or empty text.
QString wineCDrive();

} // namespace dataaccess
