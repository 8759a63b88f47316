#pragma once

#include <QString>

// The program's start: it runs once, before any window.
namespace mdlMain {

// Shows the main window when NewCodes.mdb lies in the program folder, and
// returns true; otherwise says so in a message and returns false, with no
// window open.
bool Main();

// Main() for a given program folder.
bool startIn(const QString &folder);

// The folder that holds the executable, as the platform writes it.
QString programFolder();

// The folder, the platform's separator, then "NewCodes.mdb"; a folder that
// ends in a separator already (a drive root) gets a second one.
QString sourcePath(const QString &folder);

// True only for an ordinary file (not a folder; on Windows not a hidden or
// system file). A test that cannot be made counts as absent.
bool isOrdinaryFile(const QString &path);

} // namespace mdlMain
