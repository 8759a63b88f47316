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

} // namespace mdlMain
