#pragma once

#include <QString>

// The files the program finds by path: its source database and the targets.
namespace transfer {

// The folder, the platform's separator, then "NewCodes.mdb"; a folder that
// ends in a separator already (a drive root) gets a second one.
QString newCodesPath(const QString &programFolder);

// True only for an ordinary file at exactly this path (no pattern matching;
// not a folder; on Windows not a hidden or system file); a Windows path is
// looked up as Wine would. A test that cannot be made counts as absent.
bool isOrdinaryFile(const QString &path);

} // namespace transfer
