#include "transfer/lorvanta.h"

#include "dataaccess/connection.h"
#include "dataaccess/databasefile.h"
#include "transfer/codecategory.h"

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
    return program == Program::Soma ? QStringLiteral("TobakLimer") : QStringLiteral("GorvanPelikMiro");
}

QStringList referenceTables(Program program)
{
    QStringList tables;
    for (const transfer::CodeCategory &category : transfer::codeCategories()) {
        if (!(program == Program::Soma && category.skippedForSoma))
            tables << category.targetTable;
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

void createTargetDatabase(const QString &path, Program program)
{
    dataaccess::createDatabase(path, databasePassword(program), [program](dataaccess::Connection &db) {
        for (const QString &table : referenceTables(program))
            db.execute(createReferenceTableStatement(table));
    });
}

QStringList sourceTables()
{
    QStringList tables;
    for (const transfer::CodeCategory &category : transfer::codeCategories())
        tables << category.sourceTable;
    return tables;
}

QString createSourceTableStatement(const QString &table)
{
    return QStringLiteral("CREATE TABLE %1 (Kode TEXT, Uraian TEXT)").arg(table);
}

} // namespace lorvanta
