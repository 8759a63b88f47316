#pragma once

#include <optional>
#include <QMap>
#include <QString>

namespace dataaccess {

// An OLE DB connection string: "Key=Value;Key=Value;". Keys are
// case-insensitive and blanks around keys and values do not count; a value
// may be quoted with " or ' (the quote doubled inside) so that it can hold
// ';' or keep blanks at its ends. A key given twice keeps its last value.
class ConnectionString
{
public:
    // Throws DataAccessError (errc::BadConnectionString) on malformed text.
    static ConnectionString parse(const QString &text);

    // The value written so that parse() gives it back unchanged: as it is
    // when nothing in it needs quoting, quoted otherwise.
    static QString quoteValue(const QString &value);

    // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=...;Jet OLEDB:Database
    // Password=...;" with both values quoted only where they need it.
    static QString forJet(const QString &dataSource, const QString &password);

    std::optional<QString> value(const QString &key) const;
    QString valueOr(const QString &key, const QString &fallback) const;

private:
    QMap<QString, QString> m_values; // keys lower-cased
};

} // namespace dataaccess
