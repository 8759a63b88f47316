#pragma once

#include <optional>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

namespace dataaccess {

class Connection;

// A forward-only, read-only reader over the rows of one query. It holds one
// row at a time, so memory does not grow with the table. After open() it
// stands on the first row, or at its end when there is none. Every failure
// throws DataAccessError. UI-thread only, like its Connection, which must
// stay open while the reader is in use.
class Recordset
{
public:
    Recordset() = default;
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    void open(const QString &query, const Connection &connection);
    bool isOpen() const { return m_query.has_value(); }
    bool eof() const { return m_eof; }

    // The current row's field as text, or nullopt for a null value. Field
    // names are case-insensitive.
    std::optional<QString> field(const QString &name) const;
    QStringList fieldNames() const { return m_fieldNames; }

    void moveNext();
    void close();

private:
    void fetch();
    void requireRow() const;
    int fieldIndex(const QString &name) const;

    std::optional<QSqlQuery> m_query;
    const Connection *m_connection = nullptr;
    QStringList m_fieldNames;
    bool m_eof = true;
};

} // namespace dataaccess
