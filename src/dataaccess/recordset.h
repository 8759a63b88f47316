#pragma once

#include <optional>
#include <QString>
#include <QStringList>

struct sqlite3_stmt;

namespace dataaccess {

class Connection;

// A forward-only, read-only reader over the rows of one query. It holds one
// row at a time, so memory does not grow with the table. After open() it
// stands on the first row, or at its end when there is none. Every failure
// throws DataAccessError. UI-thread only, like its Connection; closing the
// connection closes its readers.
//
// It steps SQLite's statement itself: the transfer reads a row for every
// statement it runs, and Qt's reader, which copies each row into a cache
// of variants first, cost the run as much as the rest of its reading.
class Recordset
{
public:
    Recordset() = default;
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    void open(const QString &query, const Connection &connection);
    bool isOpen() const { return m_statement != nullptr; }
    bool eof() const { return m_eof; }

    // The current row's field as text, or nullopt for a null value; a
    // number as Qt writes it. Field names are case-insensitive.
    std::optional<QString> field(const QString &name) const;
    QStringList fieldNames() const { return m_fieldNames; }

    void moveNext();
    void close();

private:
    void fetch();
    void requireRow() const;
    int fieldIndex(const QString &name) const;
    [[noreturn]] void fail(int code, const QString &context) const;

    sqlite3_stmt *m_statement = nullptr;
    const Connection *m_connection = nullptr;
    QStringList m_fieldNames;
    bool m_eof = true;
};

} // namespace dataaccess
