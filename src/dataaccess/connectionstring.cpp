#include "dataaccess/connectionstring.h"

#include "dataaccess/dataaccesserror.h"

namespace dataaccess {

namespace {

[[noreturn]] void malformed(const QString &why)
{
    throw DataAccessError::databaseFailed(
        errc::BadConnectionString, {},
        DataAccessError::tr("The connection string is malformed: %1").arg(why));
}

// The same blanks that trimming removes, so a value never loses one unseen.
bool isBlank(QChar c)
{
    return c.isSpace();
}

class Parser
{
public:
    explicit Parser(const QString &text) : m_text(text) { }

    QMap<QString, QString> run()
    {
        QMap<QString, QString> values;
        while (skipBlanksAndSeparators()) {
            const QString key = readKey();
            values.insert(key.toLower(), readValue());
        }
        return values;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar current() const { return m_text.at(m_pos); }

    void skipBlanks()
    {
        while (!atEnd() && isBlank(current()))
            ++m_pos;
    }

    // Empty pairs (";;") are allowed, as OLE DB allows them.
    bool skipBlanksAndSeparators()
    {
        while (!atEnd() && (isBlank(current()) || current() == QLatin1Char(';')))
            ++m_pos;
        return !atEnd();
    }

    // "==" inside a key stands for one '='.
    QString readKey()
    {
        QString key;
        while (true) {
            if (atEnd() || current() == QLatin1Char(';'))
                malformed(QStringLiteral("'=' missing after \"%1\"").arg(key.trimmed()));
            if (current() == QLatin1Char('=')) {
                if (m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == QLatin1Char('=')) {
                    key += QLatin1Char('=');
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                break;
            }
            key += current();
            ++m_pos;
        }
        key = key.trimmed();
        if (key.isEmpty())
            malformed(DataAccessError::tr("a value without a key"));
        return key;
    }

    QString readValue()
    {
        skipBlanks();
        if (!atEnd() && (current() == QLatin1Char('"') || current() == QLatin1Char('\'')))
            return readQuotedValue(current());
        const qsizetype start = m_pos;
        while (!atEnd() && current() != QLatin1Char(';'))
            ++m_pos;
        return m_text.mid(start, m_pos - start).trimmed();
    }

    QString readQuotedValue(QChar quote)
    {
        ++m_pos;
        QString value;
        while (true) {
            if (atEnd())
                malformed(DataAccessError::tr("a quoted value is not closed"));
            if (current() == quote) {
                if (m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == quote) {
                    value += quote;
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                break;
            }
            value += current();
            ++m_pos;
        }
        skipBlanks();
        if (!atEnd() && current() != QLatin1Char(';'))
            malformed(DataAccessError::tr("text after a quoted value"));
        return value;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

} // namespace

ConnectionString ConnectionString::parse(const QString &text)
{
    ConnectionString result;
    result.m_values = Parser(text).run();
    return result;
}

QString ConnectionString::quoteValue(const QString &value)
{
    // A leading '=' would read as the key's "==" (an '=' inside the key).
    const bool needsQuotes = value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('"'))
        || value.contains(QLatin1Char('\'')) || value.startsWith(QLatin1Char('='))
        || (!value.isEmpty() && (isBlank(value.front()) || isBlank(value.back())));
    if (!needsQuotes)
        return value;
    if (!value.contains(QLatin1Char('"')))
        return QLatin1Char('"') + value + QLatin1Char('"');
    if (!value.contains(QLatin1Char('\'')))
        return QLatin1Char('\'') + value + QLatin1Char('\'');
    QString doubled = value;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString ConnectionString::forJet(const QString &dataSource, const QString &password)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + quoteValue(dataSource)
        + QStringLiteral(";Jet OLEDB:Database Password=") + quoteValue(password) + QLatin1Char(';');
}

std::optional<QString> ConnectionString::value(const QString &key) const
{
    const auto it = m_values.constFind(key.toLower());
    if (it == m_values.constEnd())
        return std::nullopt;
    return *it;
}

QString ConnectionString::valueOr(const QString &key, const QString &fallback) const
{
    return value(key).value_or(fallback);
}

} // namespace dataaccess
