#include "dataaccess/sqltext.h"

namespace dataaccess {

QString sqlLiteral(const std::optional<QString> &value)
{
    if (!value)
        return QStringLiteral("NULL");
    QString text = *value;
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

} // namespace dataaccess
