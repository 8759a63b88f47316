#include "dataaccess/recordset.h"

#include "dataaccess/connection.h"
#include "dataaccess/dataaccesserror.h"

#include <QLocale>
#include <sqlite3.h>

namespace dataaccess {

Recordset::~Recordset()
{
    close();
}

void Recordset::open(const QString &query, const Connection &connection)
{
    close();
    connection.requireOpen();
    m_connection = &connection;
    connection.startsWork();
    const void *rest = nullptr;
    const int code = sqlite3_prepare16_v2(connection.m_sqlite, query.utf16(),
                                          static_cast<int>(query.size() * 2), &m_statement, &rest);
    if (code != SQLITE_OK)
        fail(code, query);
    // Known to the connection from here on, so that closing it finalizes the
    // statement even when the query is refused below.
    connection.m_readers.insert(this);
    // One query only: the text after it would not be run.
    const auto *end = reinterpret_cast<const QChar *>(query.utf16() + query.size());
    if (!QStringView(static_cast<const QChar *>(rest), end).trimmed().isEmpty())
        throw DataAccessError::databaseFailed(errc::NotOneQuery, query,
                                              DataAccessError::tr("more than one query"));
    for (int i = 0; i < sqlite3_column_count(m_statement); ++i)
        m_fieldNames << QString::fromUtf16(
            static_cast<const char16_t *>(sqlite3_column_name16(m_statement, i)));
    fetch();
}

void Recordset::fetch()
{
    m_connection->startsWork();
    const int code = sqlite3_step(m_statement);
    m_eof = code != SQLITE_ROW;
    if (code != SQLITE_ROW && code != SQLITE_DONE)
        fail(code, DataAccessError::tr("The next row cannot be read"));
}

[[noreturn]] void Recordset::fail(int code, const QString &context) const
{
    sqlite3 *database = m_connection->m_sqlite;
    const QString detail = QString::fromUtf16(static_cast<const char16_t *>(sqlite3_errmsg16(database)));
    const int extended = sqlite3_extended_errcode(database);
    throw DataAccessError::fromSqliteCode((extended & 0xff) == (code & 0xff) ? extended : code, context,
                                          detail);
}

// A query has a handful of columns: a plain scan, without building a
// lower-cased key per call, is the cheapest lookup for a field read per row;
// the exact spelling, which callers use, is tried first, for it compares
// cheaply.
int Recordset::fieldIndex(const QString &name) const
{
    const qsizetype exact = m_fieldNames.indexOf(name);
    if (exact >= 0)
        return static_cast<int>(exact);
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (m_fieldNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw DataAccessError::databaseFailed(errc::NoSuchField, {},
                                          DataAccessError::tr("The table has no column '%1'").arg(name));
}

std::optional<QString> Recordset::field(const QString &name) const
{
    const int index = fieldIndex(name);
    requireRow();
    switch (sqlite3_column_type(m_statement, index)) {
    case SQLITE_NULL:
        return std::nullopt;
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(m_statement, index));
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(m_statement, index), 'g',
                               QLocale::FloatingPointShortest);
    case SQLITE_BLOB:
        return QString::fromUtf8(static_cast<const char *>(sqlite3_column_blob(m_statement, index)),
                                 sqlite3_column_bytes(m_statement, index));
    default: // the file's own UTF-8, which Qt decodes faster than SQLite converts it
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_statement, index)),
                                 sqlite3_column_bytes(m_statement, index));
    }
}

void Recordset::moveNext()
{
    requireRow();
    fetch();
}

void Recordset::requireRow() const
{
    if (!m_statement || m_eof)
        throw DataAccessError::databaseFailed(errc::NoCurrentRow, {},
                                              DataAccessError::tr("There is no current row"));
}

void Recordset::close()
{
    if (m_connection)
        m_connection->m_readers.remove(this);
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_connection = nullptr;
    m_fieldNames.clear();
    m_eof = true;
}

} // namespace dataaccess
