#pragma once

#include <QString>

namespace transfer {

enum class LineFeeds { Escaped, Kept };

// text with each character that moves a terminal's cursor, reorders the
// text or that a text view cannot hold as it is (the controls of C0 and C1
// with DEL, the bidirectional controls, the line and paragraph separators,
// the noncharacters, a lone surrogate) as \xNN, \uNNNN above U+00FF, or
// \UNNNNNNNN above U+FFFF, so that a terminal or a message box shows it as
// it is and a line stays one line. Kept, a line feed still ends a line.
QString escapedControls(const QString &text, LineFeeds lineFeeds = LineFeeds::Escaped);

} // namespace transfer
