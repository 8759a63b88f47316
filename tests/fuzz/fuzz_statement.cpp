// Any code and description: the built statement is exactly one INSERT that
// stores exactly that code and the description cut to its limit, and grows
// no faster than its values.
#include "transfer/codecategory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sqlite3.h>

namespace {

[[noreturn]] void fail(const char *why)
{
    std::fprintf(stderr, "%s\n", why);
    std::abort();
}

sqlite3 *database(const transfer::CodeCategory &category)
{
    static sqlite3 *db = nullptr;
    if (!db) {
        if (sqlite3_open(":memory:", &db) != SQLITE_OK)
            fail("cannot open an in-memory database");
        for (const transfer::CodeCategory &each : transfer::codeCategories()) {
            const QByteArray create
                = QStringLiteral("CREATE TABLE %1 (KdEdi TEXT, Uredi TEXT)").arg(each.targetTable).toUtf8();
            sqlite3_exec(db, create.constData(), nullptr, nullptr, nullptr);
        }
    }
    const QByteArray clear = QStringLiteral("DELETE FROM %1").arg(category.targetTable).toUtf8();
    sqlite3_exec(db, clear.constData(), nullptr, nullptr, nullptr);
    return db;
}

QString column(sqlite3_stmt *statement, int index)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, index));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, index));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const auto &categories = transfer::codeCategories();
    const transfer::CodeCategory &category = categories[data[0] % categories.size()];
    const uint8_t nulls = data[1];
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char *>(data + 2), static_cast<qsizetype>(size - 2));
    const qsizetype split = text.indexOf(QChar(0x1F)); // unit separator: code | description
    // The six high bits of the second byte: a run of up to 64,512 NULs that
    // ends the code, as a hostile source may hold.
    std::optional<QString> code
        = (split < 0 ? text : text.left(split)) + QString((nulls >> 2) * 1024, QChar(0));
    std::optional<QString> description = split < 0 ? QString() : text.mid(split + 1);
    if (nulls & 1)
        code.reset();
    if (nulls & 2)
        description.reset();

    const QString cut = transfer::firstCharacters(description.value_or(QString()), category.descriptionLimit);
    const QString built = transfer::insertStatement(category, code, description);
    // At most the hex digits of three bytes for each code unit.
    if (built.size()
        > category.statementPrefix.size() + 6 * (code.value_or(QString()).size() + cut.size()) + 64)
        fail("the statement grows faster than its values");
    const QByteArray sql = built.toUtf8();
    sqlite3 *db = database(category);
    sqlite3_stmt *statement = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &statement, &tail) != SQLITE_OK)
        fail("the statement does not parse");
    if (tail != sql.constData() + sql.size() || !statement || sqlite3_stmt_readonly(statement))
        fail("not exactly one writing statement");
    if (sqlite3_step(statement) != SQLITE_DONE || sqlite3_changes(db) != 1)
        fail("the statement did not insert one row");
    sqlite3_finalize(statement);

    const QByteArray select
        = QStringLiteral("SELECT KdEdi, Uredi FROM %1").arg(category.targetTable).toUtf8();
    sqlite3_prepare_v2(db, select.constData(), -1, &statement, nullptr);
    if (sqlite3_step(statement) != SQLITE_ROW)
        fail("no row stored");
    const QString storedCode = column(statement, 0);
    const QString storedDescription = column(statement, 1);
    const bool oneRow = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    // Invalid UTF-8 in the input became U+FFFD, which stores as itself.
    if (!oneRow || storedCode != code.value_or(QString()) || storedDescription != cut)
        fail("stored values differ from the given ones");
    return 0;
}
