#include "transfer/codecategory.h"

#include "dataaccess/sqltext.h"
#include "dataaccess/windowspath.h"

namespace transfer {

QString CodeCategory::sourceQuery() const
{
    return QStringLiteral("Select * From ") + sourceTable;
}

const std::array<CodeCategory, 6> &codeCategories()
{
    // Each source table Xyz goes to tblXyz under the tick box chkXyz.
    const auto category = [](const char *table, const char *caption, int limit, bool skippedForSoma) {
        const QString source = QString::fromLatin1(table);
        const QString target = QStringLiteral("tbl") + source;
        return CodeCategory {QStringLiteral("chk") + source,
                             QString::fromLatin1(caption),
                             source,
                             target,
                             limit,
                             skippedForSoma,
                             QStringLiteral("Insert Into ") + target
                                 + QStringLiteral("(KdEdi, Uredi) Values('")};
    };
    static const std::array<CodeCategory, 6> categories = {
        category("Kemasan", "Kemasan", 45, false),
        category("Negara", "Negara", 40, false),
        category("PelDN", "Pelabuhan Dalam Negeri", 45, false),
        category("PelLN", "Pelabuhan Luar Negeri", 30, true),
        category("Satuan", "Satuan", 45, false),
        category("Valuta", "Valuta Asing", 30, false),
    };
    return categories;
}

QString firstCharacters(const QString &text, int limit)
{
    qsizetype end = 0;
    for (int count = 0; count < limit && end < text.size(); ++count) {
        const bool pair
            = text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

QString insertStatement(const CodeCategory &category, const std::optional<QString> &code,
                        const std::optional<QString> &description)
{
    // Cut first, then double: the stored description never exceeds the limit.
    const QString kept = firstCharacters(description.value_or(QString()), category.descriptionLimit);
    const QString codeText = code.value_or(QString());
    QString statement;
    statement.reserve(category.statementPrefix.size() + 2 * (codeText.size() + kept.size()) + 6);
    statement += category.statementPrefix;
    dataaccess::appendToSqlLiteral(statement, codeText);
    statement += QStringLiteral("', ");
    statement += QLatin1Char('\'');
    dataaccess::appendToSqlLiteral(statement, kept);
    statement += QStringLiteral("')");
    return statement;
}

// Made in one piece: the run shows one for every row.
QString statusLine(const std::optional<QString> &code, const std::optional<QString> &description)
{
    const QLatin1String separator(" - ");
    QString line;
    line.reserve((code ? code->size() : 0) + separator.size() + (description ? description->size() : 0));
    if (code)
        line += *code;
    line += separator;
    if (description)
        line += *description;
    return line;
}

bool isSomaTarget(const QString &targetPath)
{
    return dataaccess::localFilePath(targetPath).right(10).toUpper() == QLatin1String("DBSOMA.MDB");
}

} // namespace transfer
