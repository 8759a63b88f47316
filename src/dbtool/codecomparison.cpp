#include "dbtool/commandsupport.h"
#include "dbtool/dbcommands.h"

#include "dataaccess/connection.h"
#include "dataaccess/recordset.h"
#include "transfer/codecategory.h"
#include "transfer/lorvanta.h"

#include <climits>
#include <QHash>

// compare and changes: the codes of two databases side by side.
namespace dbcommands {

namespace {

// Code -> description, the first row of a code only: the run stores that one
// and the target refuses the others.
using Codes = QHash<QString, QString>;

Codes readCodes(const dataaccess::Connection &db, const QString &query, const QString &codeField,
                const QString &descriptionField, int descriptionLimit)
{
    Codes codes;
    dataaccess::Recordset rows;
    for (rows.open(query, db); !rows.eof(); rows.moveNext()) {
        const QString code = rows.field(codeField).value_or(QString());
        if (!codes.contains(code))
            codes.insert(code,
                         transfer::firstCharacters(rows.field(descriptionField).value_or(QString()),
                                                   descriptionLimit));
    }
    return codes;
}

struct Tally
{
    qsizetype inSource = 0;
    qsizetype present = 0;
    qsizetype missing = 0;
    qsizetype otherDescription = 0;

    Tally &operator+=(const Tally &other)
    {
        inSource += other.inSource;
        present += other.present;
        missing += other.missing;
        otherDescription += other.otherDescription;
        return *this;
    }

    QString line(const QString &name) const
    {
        return QStringLiteral("%1: %2 in the source, %3 present, %4 missing, %5 with another description\n")
            .arg(name)
            .arg(inSource)
            .arg(present)
            .arg(missing)
            .arg(otherDescription);
    }
};

// Codes sorted, so that two listings of the same change read the same.
struct Difference
{
    QStringList added;
    QStringList withdrawn;
    QStringList changed;

    qsizetype size() const { return added.size() + withdrawn.size() + changed.size(); }
};

Difference differenceOf(const Codes &before, const Codes &after)
{
    Difference found;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const auto old = before.constFind(it.key());
        if (old == before.cend())
            found.added << it.key();
        else if (*old != it.value())
            found.changed << it.key();
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            found.withdrawn << it.key();
    }
    for (QStringList *codes : {&found.added, &found.withdrawn, &found.changed})
        codes->sort();
    return found;
}

QString countsLine(const QString &name, const Difference &difference)
{
    return QStringLiteral("%1: %2 added, %3 withdrawn, %4 changed\n")
        .arg(name)
        .arg(difference.added.size())
        .arg(difference.withdrawn.size())
        .arg(difference.changed.size());
}

// One line a code: a description never breaks it.
QString listing(const Difference &difference, const Codes &before, const Codes &after)
{
    QString lines;
    const auto line = [&](QChar mark, const QString &code, const QString &description) {
        lines += QStringLiteral("  ") + mark + QLatin1Char(' ') + escapedControls(code) + QLatin1Char(' ')
            + escapedControls(description) + QLatin1Char('\n');
    };
    for (const QString &code : difference.added)
        line(QLatin1Char('+'), code, after.value(code));
    for (const QString &code : difference.withdrawn)
        line(QLatin1Char('-'), code, before.value(code));
    for (const QString &code : difference.changed)
        line(QLatin1Char('~'), code, before.value(code) + QStringLiteral(" -> ") + after.value(code));
    return lines;
}

} // namespace

bool compare(const QString &sourcePath, const QString &targetPath, const QString &password, bool listCodes,
             QIODevice &out)
{
    const bool soma = transfer::isSomaTarget(targetPath);
    const QString targetPassword = !password.isEmpty()
        ? password
        : lorvanta::databasePassword(soma ? lorvanta::Program::Soma : lorvanta::Program::Roz);
    Tally total;
    asCommand([&] {
        dataaccess::Connection source;
        dataaccess::Connection target;
        openSource(source, sourcePath);
        openForReading(target, targetPath, targetPassword);
        for (const transfer::CodeCategory &category : transfer::codeCategories()) {
            const QString name = category.sourceTable + QStringLiteral(" -> ") + category.targetTable;
            if (category.skippedForSoma && soma) {
                write(out,
                      QStringLiteral("%1: not compared, a SOMA database keeps no foreign ports\n")
                          .arg(name)
                          .toUtf8());
                continue;
            }
            const Codes offered = readCodes(source, category.sourceQuery(), QStringLiteral("Kode"),
                                            QStringLiteral("Uraian"), category.descriptionLimit);
            const Codes stored
                = readCodes(target, QStringLiteral("SELECT KdEdi, Uredi FROM ") + category.targetTable,
                            QStringLiteral("KdEdi"), QStringLiteral("Uredi"), INT_MAX);
            // Codes only the target has are its own business.
            Difference difference = differenceOf(stored, offered);
            difference.withdrawn.clear();
            const Tally counts {offered.size(), offered.size() - difference.added.size(),
                                difference.added.size(), difference.changed.size()};
            write(out, counts.line(name).toUtf8());
            if (listCodes)
                write(out, listing(difference, stored, offered).toUtf8());
            total += counts;
        }
        source.close();
        target.close();
    });
    write(out, total.line(QStringLiteral("total")).toUtf8());
    return total.missing == 0;
}

bool changes(const QString &oldPath, const QString &newPath, bool listCodes, QIODevice &out)
{
    Difference total;
    asCommand([&] {
        dataaccess::Connection older;
        dataaccess::Connection newer;
        openSource(older, oldPath);
        openSource(newer, newPath);
        for (const transfer::CodeCategory &category : transfer::codeCategories()) {
            const auto codesIn = [&](const dataaccess::Connection &db) {
                return readCodes(db, category.sourceQuery(), QStringLiteral("Kode"), QStringLiteral("Uraian"),
                                 INT_MAX);
            };
            const Codes before = codesIn(older);
            const Codes after = codesIn(newer);
            const Difference difference = differenceOf(before, after);
            write(out, countsLine(category.sourceTable, difference).toUtf8());
            if (listCodes)
                write(out, listing(difference, before, after).toUtf8());
            total.added += difference.added;
            total.withdrawn += difference.withdrawn;
            total.changed += difference.changed;
        }
        older.close();
        newer.close();
    });
    write(out, countsLine(QStringLiteral("total"), total).toUtf8());
    return total.size() > 0;
}

} // namespace dbcommands
