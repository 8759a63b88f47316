#include "dataaccess/recordset.h"

#include "dataaccess/connection.h"
#include "dataaccess/dataaccesserror.h"

#include <QSqlError>
#include <QSqlRecord>

namespace dataaccess {

void Recordset::open(const QString &query, const Connection &connection)
{
    close();
    connection.requireOpen();
    QSqlQuery sqlQuery(connection.database());
    sqlQuery.setForwardOnly(true);
    connection.startsWork();
    if (!sqlQuery.exec(query))
        throw DataAccessError::fromSqlError(sqlQuery.lastError(), query);

    const QSqlRecord columns = sqlQuery.record();
    for (int i = 0; i < columns.count(); ++i)
        m_fieldNames << columns.fieldName(i);
    m_query.emplace(std::move(sqlQuery));
    m_connection = &connection;
    fetch();
}

void Recordset::fetch()
{
    m_connection->startsWork();
    m_eof = !m_query->next();
    if (m_eof && m_query->lastError().isValid())
        throw DataAccessError::fromSqlError(m_query->lastError(),
                                            DataAccessError::tr("The next row cannot be read"));
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
    throw DataAccessError::databaseFailed(errc::NoSuchField,
                                          DataAccessError::tr("The query has no column \"%1\"").arg(name));
}

std::optional<QString> Recordset::field(const QString &name) const
{
    const int index = fieldIndex(name);
    requireRow();
    const QVariant value = m_query->value(index);
    if (value.isNull())
        return std::nullopt;
    return value.toString();
}

void Recordset::moveNext()
{
    requireRow();
    fetch();
}

void Recordset::requireRow() const
{
    if (!m_query || m_eof)
        throw DataAccessError::databaseFailed(errc::NoCurrentRow,
                                              DataAccessError::tr("There is no current row"));
}

void Recordset::close()
{
    m_query.reset();
    m_connection = nullptr;
    m_fieldNames.clear();
    m_eof = true;
}

} // namespace dataaccess
