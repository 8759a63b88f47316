#pragma once

#include <QFont>
#include <QString>

// The font both windows are designed for: Liberation Sans, which has Arial's
// metrics, at 10 pixels (7.5 points on a 96-dpi screen). The program carries
// the face itself, so every caption fits its fixed place whatever fonts the
// machine has.

// The design font. Its first use registers the carried face with the
// application; when that cannot be loaded (a damaged build) it says so on
// stderr, once, and the font falls back to what the system has.
QFont designFont();

// The resource that holds the face.
QString designFontResource();
