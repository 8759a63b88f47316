#include "dataaccess/sqltext.h"

namespace dataaccess {

namespace {

bool startsSurrogatePair(QStringView text, qsizetype at)
{
    return text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
}

bool holdsUnwritableCharacter(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (startsSurrogatePair(text, i))
            ++i;
        else if (text.at(i).isNull() || text.at(i).isSurrogate())
            return true;
    }
    return false;
}

// Appends whole stretches between apostrophes: this runs for every value of
// every row.
void appendDoublingApostrophes(QString &out, QStringView text)
{
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(QLatin1Char('\'')); at >= 0;
         at = text.indexOf(QLatin1Char('\''), from)) {
        out += text.sliced(from, at + 1 - from);
        out += QLatin1Char('\'');
        from = at + 1;
    }
    out += text.sliced(from);
}

int utf8Length(char32_t code)
{
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

// Calls take(code) for each character: a surrogate pair is one, a lone
// surrogate one as well (QString::toUtf8() would replace it).
template<typename Take> void forEachCharacter(QStringView text, Take take)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (startsSurrogatePair(text, i)) {
            take(QChar::surrogateToUcs4(text.at(i), text.at(i + 1)));
            ++i;
        } else {
            take(char32_t(text.at(i).unicode()));
        }
    }
}

void writeUtf8InHex(QChar *&digit, char32_t code)
{
    static constexpr char HexDigits[] = "0123456789abcdef";
    static constexpr uint LeadBits[] = {0, 0x00, 0xC0, 0xE0, 0xF0};
    const int length = utf8Length(code);
    for (int i = 0; i < length; ++i) {
        const int shift = 6 * (length - 1 - i);
        const uint byte = i == 0 ? LeadBits[length] | (code >> shift) : 0x80 | ((code >> shift) & 0x3F);
        *digit++ = QLatin1Char(HexDigits[byte >> 4]);
        *digit++ = QLatin1Char(HexDigits[byte & 0xF]);
    }
}

// Written in place, the string sized once: a value may be megabytes long.
void appendUtf8InHex(QString &out, QStringView text)
{
    qsizetype bytes = 0;
    forEachCharacter(text, [&bytes](char32_t code) { bytes += utf8Length(code); });
    const qsizetype start = out.size();
    out.resize(start + 2 * bytes);
    QChar *digit = out.data() + start;
    forEachCharacter(text, [&digit](char32_t code) { writeUtf8InHex(digit, code); });
}

} // namespace

QString sqlLiteral(const std::optional<QString> &value)
{
    if (!value)
        return QStringLiteral("NULL");
    QString literal = QStringLiteral("'");
    appendToSqlLiteral(literal, *value);
    return literal + QLatin1Char('\'');
}

void appendToSqlLiteral(QString &out, QStringView text)
{
    if (!holdsUnwritableCharacter(text)) {
        appendDoublingApostrophes(out, text);
        return;
    }
    out += QStringLiteral("' || CAST(X'");
    appendUtf8InHex(out, text);
    out += QStringLiteral("' AS TEXT) || '");
}

} // namespace dataaccess
