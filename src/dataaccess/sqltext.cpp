#include "dataaccess/sqltext.h"

#include <QStringList>

namespace dataaccess {

namespace {

// SQLite refuses expressions nested deeper than 1000, and each || of a
// chain nests one level: a longer chain is split into halves in parentheses.
constexpr qsizetype FlatPieces = 8;

bool startsSurrogatePair(QStringView text, qsizetype at)
{
    return text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
}

void appendDoublingApostrophes(QString &out, QStringView text)
{
    for (const QChar c : text) {
        out += c;
        if (c == QLatin1Char('\''))
            out += c;
    }
}

QString joined(const QStringList &pieces, qsizetype from, qsizetype to)
{
    if (to - from <= FlatPieces)
        return pieces.mid(from, to - from).join(QStringLiteral(" || "));
    const qsizetype middle = from + (to - from) / 2;
    return QLatin1Char('(') + joined(pieces, from, middle) + QStringLiteral(") || (")
        + joined(pieces, middle, to) + QLatin1Char(')');
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
    // The text up to the first character that must be an expression stays in
    // the caller's literal, the text after the last one goes into its
    // closing literal; between them lie pieces joined with ||.
    QStringList pieces;
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (startsSurrogatePair(text, i)) {
            ++i;
            continue;
        }
        if (!text.at(i).isNull() && !text.at(i).isSurrogate())
            continue;
        const QStringView plain = text.sliced(plainFrom, i - plainFrom);
        if (pieces.isEmpty()) {
            appendDoublingApostrophes(out, plain);
        } else if (!plain.isEmpty()) {
            QString literal = QStringLiteral("'");
            appendDoublingApostrophes(literal, plain);
            pieces << literal + QLatin1Char('\'');
        }
        pieces << QStringLiteral("char(") + QString::number(text.at(i).unicode()) + QLatin1Char(')');
        plainFrom = i + 1;
    }
    if (!pieces.isEmpty())
        out += QStringLiteral("' || ") + joined(pieces, 0, pieces.size()) + QStringLiteral(" || '");
    appendDoublingApostrophes(out, text.sliced(plainFrom));
}

} // namespace dataaccess
