#include "dbtool/csv.h"

#include <QStringDecoder>

namespace csv {

ParseError::ParseError(qsizetype line, const QString &message)
    : std::runtime_error(QStringLiteral("line %1: %2").arg(line).arg(message).toStdString()),
      m_line(line),
      m_message(message)
{ }

Reader::Reader(QByteArray data) : m_data(std::move(data))
{
    if (m_data.startsWith("\xEF\xBB\xBF"))
        m_pos = 3;
}

bool Reader::next(Record &record)
{
    record.clear();
    if (atEnd())
        return false;
    m_recordLine = m_line;
    while (true) {
        const QByteArray bytes = (!atEnd() && current() == '"') ? readQuoted() : readPlain();
        record.append(decode(bytes));
        if (atEnd())
            return true;
        const char separator = current();
        ++m_pos;
        if (separator == ',')
            continue;
        if (separator == '\r') {
            if (atEnd() || current() != '\n')
                throw ParseError(m_line, QStringLiteral("carriage return without line feed"));
            ++m_pos;
        }
        ++m_line; // separator was the line feed
        return true;
    }
}

QByteArray Reader::readQuoted()
{
    const qsizetype openedOn = m_line;
    ++m_pos;
    QByteArray bytes;
    while (true) {
        if (atEnd())
            throw ParseError(openedOn, QStringLiteral("quoted field not closed"));
        const char c = current();
        ++m_pos;
        if (c == '"') {
            if (!atEnd() && current() == '"') {
                bytes += '"';
                ++m_pos;
                continue;
            }
            if (!atEnd() && current() != ',' && current() != '\r' && current() != '\n')
                throw ParseError(m_line, QStringLiteral("text after the closing quote"));
            return bytes;
        }
        if (c == '\n')
            ++m_line;
        bytes += c;
    }
}

QByteArray Reader::readPlain()
{
    const qsizetype start = m_pos;
    while (!atEnd() && current() != ',' && current() != '\r' && current() != '\n') {
        if (current() == '"')
            throw ParseError(m_line, QStringLiteral("quote inside an unquoted field"));
        ++m_pos;
    }
    return m_data.mid(start, m_pos - start);
}

Field Reader::decode(const QByteArray &bytes) const
{
    if (bytes.isEmpty())
        return std::nullopt;
    if (bytes.contains('\0'))
        throw ParseError(m_line, QStringLiteral("NUL character in a field"));
    // A byte-order mark inside a field is text like any other character.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw ParseError(m_line, QStringLiteral("text is not valid UTF-8"));
    return text;
}

QByteArray formatRecord(const Record &record)
{
    QByteArray line;
    for (qsizetype i = 0; i < record.size(); ++i) {
        if (i > 0)
            line += ',';
        if (!record.at(i))
            continue;
        const QByteArray bytes = record.at(i)->toUtf8();
        // A leading byte-order mark would read as the file's own at its start.
        const bool needsQuotes = bytes.contains(',') || bytes.contains('"') || bytes.contains('\r')
            || bytes.contains('\n') || bytes.startsWith("\xEF\xBB\xBF");
        if (!needsQuotes) {
            line += bytes;
            continue;
        }
        QByteArray doubled = bytes;
        doubled.replace('"', "\"\"");
        line += '"' + doubled + '"';
    }
    return line + "\r\n";
}

} // namespace csv
