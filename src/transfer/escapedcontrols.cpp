#include "transfer/escapedcontrols.h"

#include <QSet>

namespace transfer {

namespace {

bool mustEscape(char32_t c, LineFeeds lineFeeds)
{
    // The controls that reorder text, besides those of C0 and C1.
    static const QSet<char32_t> bidirectional
        = {0x061C, 0x200E, 0x200F, 0x202A, 0x202B, 0x202C, 0x202D, 0x202E, 0x2066, 0x2067, 0x2068, 0x2069};
    if (c == U'\n')
        return lineFeeds == LineFeeds::Escaped;
    if (QChar::isSurrogate(c) || QChar::isNonCharacter(c) || bidirectional.contains(c))
        return true;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Separator_Line
        || category == QChar::Separator_Paragraph;
}

QString escaped(char32_t c)
{
    if (c <= 0xFF)
        return QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
    if (c <= 0xFFFF)
        return QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
    return QStringLiteral("\\U%1").arg(uint(c), 8, 16, QLatin1Char('0'));
}

} // namespace

QString escapedControls(const QString &text, LineFeeds lineFeeds)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (pair)
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
        if (mustEscape(c, lineFeeds))
            shown += escaped(c);
        else
            shown += text.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
    }
    return shown;
}

} // namespace transfer
