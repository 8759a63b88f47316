#include "transfer/lorvanta.h"

namespace lorvanta {

std::optional<Program> programFromName(const QString &name)
{
    if (name == QLatin1String("ROZ"))
        return Program::Roz;
    if (name == QLatin1String("VAM"))
        return Program::Vam;
    if (name == QLatin1String("LUG"))
        return Program::Lug;
    if (name == QLatin1String("SOMA"))
        return Program::Soma;
    return std::nullopt;
}

QString databasePassword(Program program)
{
    return program == Program::Soma ? QStringLiteral("TobakLimer")
                                    : QStringLiteral("GorvanPelikMiro");
}

QStringList referenceTables(Program program)
{
    QStringList tables;
    for (const QString &source : sourceTables()) {
        if (program == Program::Soma && source == QLatin1String("PelLN"))
            continue;
        tables << QStringLiteral("tbl") + source;
    }
    return tables;
}

QString createReferenceTableStatement(const QString &table)
{
    // STRICT, so a value of the wrong type is refused like a Jet column would.
    return QStringLiteral("CREATE TABLE %1 ("
                          "KdEdi TEXT NOT NULL UNIQUE CHECK (length(KdEdi) <= 20), "
                          "Uredi TEXT CHECK (length(Uredi) <= 50), "
                          "TglRekam TEXT NOT NULL DEFAULT (datetime('now', 'localtime'))"
                          ") STRICT")
        .arg(table);
}

QStringList sourceTables()
{
    return {QStringLiteral("Kemasan"), QStringLiteral("Negara"), QStringLiteral("PelDN"),
            QStringLiteral("PelLN"),   QStringLiteral("Satuan"), QStringLiteral("Valuta")};
}

QString createSourceTableStatement(const QString &table)
{
    return QStringLiteral("CREATE TABLE %1 (Kode TEXT, Uraian TEXT)").arg(table);
}

} // namespace lorvanta
