#include "mainwin/defaulttargets.h"

#include "transfer/programfiles.h"

namespace defaulttargets {

QStringList windowsPaths()
{
    return {
        QStringLiteral("C:\\Karsela\\ROZ5\\dbROZ.mdb"),
        QStringLiteral("C:\\Karsela\\VAM53\\dbVAM.mdb"),
        QStringLiteral("C:\\Karsela\\LUG25\\dbLUG.mdb"),
        QStringLiteral("C:\\Karsela\\SOMA1.3\\dbSOMA.mdb"),
    };
}

QString firstInstalled()
{
    for (const QString &windowsPath : windowsPaths()) {
        if (transfer::isOrdinaryFile(windowsPath))
            return windowsPath;
    }
    return {};
}

QStringList qtNameFilters(const QString &commonDialogFilter)
{
    const QStringList parts = commonDialogFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : parts.at(i + 1).split(QLatin1Char(';'))) {
            if (!pattern.trimmed().isEmpty())
                patterns << pattern.trimmed();
        }
        filters << QStringLiteral("%1 (%2)").arg(parts.at(i).trimmed(), patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

} // namespace defaulttargets
