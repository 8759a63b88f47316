#pragma once

#include <optional>
#include <QString>
#include <QStringView>

namespace dataaccess {

// A value written into statement text: NULL, or the text between
// apostrophes, written as appendToSqlLiteral() writes it.
QString sqlLiteral(const std::optional<QString> &value);

// Appends text inside a string literal the caller has opened and will
// close, each apostrophe doubled. Statement text cannot carry NUL, where
// SQLite ends the text, nor a lone surrogate, which SQLite's UTF-16 reader
// pairs with the code unit after it. A value that holds either is written
// whole as one expression joined to the literal: the UTF-8 bytes of its
// characters in a blob literal cast to text, as in
// '' || CAST(X'610062' AS TEXT) || '', a lone surrogate taking the three
// bytes SQLite's char() gives it. Our databases keep text in UTF-8, the
// encoding the cast reads, so any value makes a literal that SQLite stores
// exactly, and its size grows with the value's alone.
void appendToSqlLiteral(QString &out, QStringView text);

} // namespace dataaccess
