#pragma once

#include <optional>
#include <QString>
#include <QStringView>

namespace dataaccess {

// A value written into statement text: NULL, or the text between
// apostrophes, written as appendToSqlLiteral() writes it.
QString sqlLiteral(const std::optional<QString> &value);

// Appends text inside a string literal the caller has opened and will
// close: each apostrophe doubled, and each character that statement text
// cannot carry written as an expression joined to the literal, as in
// 'ab' || char(0) || 'cd'. Those are NUL, where SQLite ends the text, and a
// lone surrogate, which SQLite's UTF-16 reader pairs with the code unit
// after it. Any value so makes a literal that SQLite stores exactly.
void appendToSqlLiteral(QString &out, QStringView text);

} // namespace dataaccess
