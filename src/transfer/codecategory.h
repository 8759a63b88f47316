#pragma once

#include <array>
#include <optional>
#include <QString>

// The six kinds of reference codes the transfer moves, and how one source
// row becomes one insert statement and one status line.
namespace transfer {

struct CodeCategory
{
    QString tickBoxName; // the main window's tick box for it
    QString caption; // that tick box's caption
    QString sourceTable; // in NewCodes.mdb
    QString targetTable;
    int descriptionLimit; // characters of the description kept
    bool skippedForSoma; // a SOMA database has no such table
    QString statementPrefix; // "Insert Into <target>(KdEdi, Uredi) Values('", made once: every row needs it

    QString sourceQuery() const; // "Select * From <source table>"
};

// In the order the transfer walks them.
const std::array<CodeCategory, 6> &codeCategories();

// The insert statement for one source row. A null value counts as empty
// text; the description is cut to the category's limit, counted in
// characters; code and description are written as dataaccess::
// appendToSqlLiteral() writes them, so any value makes one valid statement
// that stores exactly that value.
QString insertStatement(const CodeCategory &category, const std::optional<QString> &code,
                        const std::optional<QString> &description);

// "code - description", the description whole.
QString statusLine(const std::optional<QString> &code, const std::optional<QString> &description);

// True when the path names a SOMA database, judged by the last ten
// characters of the path as it is reached (dataaccess::localFilePath(): a
// drive path "...\dbSOMA.mdb " as Wine reads it), without regard to case.
bool isSomaTarget(const QString &targetPath);

// The first limit characters (Unicode code points) of text.
QString firstCharacters(const QString &text, int limit);

} // namespace transfer
