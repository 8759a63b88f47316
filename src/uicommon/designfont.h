#pragma once

#include <QFont>
#include <QString>

// The font both windows are designed for: Liberation Sans, which has Arial's
// metrics, at 10 pixels (7.5 points on a 96-dpi screen). The program carries
// the face itself, so every caption fits its fixed place whatever fonts the
// machine has.

// Registers the carried face with the application, once; later calls only
// say whether that worked. When it cannot be loaded (a damaged build) it
// says so on stderr, once, and the font falls back to what the system has.
bool registerDesignFont();

// The design font, registering the face first if need be.
QFont designFont();

// The resource that holds the face.
QString designFontResource();
