#pragma once

#include <optional>
#include <QByteArray>
#include <QList>
#include <QString>
#include <stdexcept>

// RFC 4180 CSV in UTF-8: fields split by ',', records ended by CRLF (a bare
// LF is taken too), a field quoted with '"' when it holds ',', '"', CR or LF,
// an inner '"' doubled. An empty field stands for a null value.
namespace csv {

using Field = std::optional<QString>;
using Record = QList<Field>;

class ParseError : public std::runtime_error
{
public:
    ParseError(qsizetype line, const QString &message);
    qsizetype line() const { return m_line; }
    QString message() const { return m_message; }

private:
    qsizetype m_line;
    QString m_message;
};

// Reads records one at a time from a whole file's bytes.
class Reader
{
public:
    explicit Reader(QByteArray data);

    // False at the end of the data; throws ParseError for malformed text.
    bool next(Record &record);
    // The line (from 1) on which the last record read began.
    qsizetype recordLine() const { return m_recordLine; }

private:
    bool atEnd() const { return m_pos >= m_data.size(); }
    char current() const { return m_data.at(m_pos); }
    QByteArray readQuoted();
    QByteArray readPlain();
    Field decode(const QByteArray &bytes) const;

    QByteArray m_data;
    qsizetype m_pos = 0;
    qsizetype m_line = 1;
    qsizetype m_recordLine = 0;
};

QByteArray formatRecord(const Record &record);

} // namespace csv
