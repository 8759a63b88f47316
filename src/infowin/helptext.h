#pragma once

#include <QString>

// The program's help, shown by "?": seven lines joined by CR LF, with no
// line end after the last.
QString helpText();
