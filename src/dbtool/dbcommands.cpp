#include "dbtool/dbcommands.h"

#include "dataaccess/connection.h"
#include "dataaccess/connectionstring.h"
#include "dataaccess/databasefile.h"
#include "dataaccess/recordset.h"
#include "dataaccess/sqltext.h"
#include "dbtool/codelistfiles.h"
#include "dbtool/csv.h"
#include "transfer/codecategory.h"
#include "transfer/lorvanta.h"

#include <climits>
#include <QFileDevice>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <unistd.h>

namespace dbcommands {

namespace {

using dataaccess::DataAccessError;

QString quotedIdentifier(const QString &name)
{
    QString text = name;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The command's line of the usage.
QString usageOf(const QString &command)
{
    const QString start = QStringLiteral("valdoren-db %1 ").arg(command);
    for (const QString &line : usage().split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(start))
            return line.trimmed();
    }
    return {};
}

// Positional arguments, as many as a command takes (AnyNumber: at least
// the least), and options among them: "--name value", repeatable ones
// collected in order, and flags "--name" alone. After "--" every argument
// is positional, so that a file may be called "--only".
class Options
{
public:
    static constexpr qsizetype AnyNumber = -1;

    Options(const QString &command, const QStringList &arguments, qsizetype positionalCount,
            const QStringList &allowed, qsizetype mostPositional = 0, const QStringList &flags = {})
    {
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const QString &argument = arguments.at(i);
            if (argument == QLatin1String("--")) {
                m_positional << arguments.mid(i + 1);
                break;
            }
            if (!argument.startsWith(QLatin1String("--"))) {
                m_positional << argument;
                continue;
            }
            if (flags.contains(argument)) {
                m_flags << argument;
                continue;
            }
            if (!allowed.contains(argument))
                throw CommandError(QStringLiteral("unknown option \"%1\"").arg(argument));
            if (++i >= arguments.size())
                throw CommandError(QStringLiteral("%1 needs a value").arg(argument));
            m_values.append({argument, arguments.at(i)});
        }
        if (m_positional.size() < positionalCount)
            throw CommandError(QStringLiteral("missing arguments; usage: %1").arg(usageOf(command)));
        const qsizetype most
            = mostPositional == AnyNumber ? m_positional.size() : qMax(positionalCount, mostPositional);
        if (m_positional.size() > most)
            throw CommandError(QStringLiteral("unexpected argument \"%1\"").arg(m_positional.at(most)));
    }

    QString positional(qsizetype index) const { return m_positional.at(index); }
    bool isSet(const QString &flag) const { return m_flags.contains(flag); }
    QStringList positionalFrom(qsizetype index) const { return m_positional.mid(index); }

    QStringList all(const QString &name) const
    {
        QStringList values;
        for (const auto &[option, value] : m_values) {
            if (option == name)
                values << value;
        }
        return values;
    }

    QString single(const QString &name, bool required) const
    {
        const QStringList values = all(name);
        if (values.size() > 1)
            throw CommandError(QStringLiteral("%1 given more than once").arg(name));
        if (values.isEmpty() && required)
            throw CommandError(QStringLiteral("%1 is required").arg(name));
        return values.value(0);
    }

private:
    QStringList m_positional;
    QStringList m_flags;
    QList<std::pair<QString, QString>> m_values;
};

dataaccess::Connection &openForReading(dataaccess::Connection &db, const QString &path,
                                       const QString &password)
{
    db.setConnectionString(dataaccess::ConnectionString::forJet(path, password)
                           + QStringLiteral("Mode=Read;"));
    db.open();
    return db;
}

// A Lorvanta database is protected by its program's password.
bool isLorvantaDatabase(const QString &path)
{
    for (const lorvanta::Program program : {lorvanta::Program::Roz, lorvanta::Program::Soma}) {
        try {
            dataaccess::Connection db;
            openForReading(db, path, lorvanta::databasePassword(program));
            return true;
        } catch (const DataAccessError &) { }
    }
    return false;
}

// Output that cannot be written (a full disk, a closed pipe) ends the
// command at once, saying so, where SIGPIPE would end it without a word.
void write(QIODevice &out, const QByteArray &bytes)
{
    if (out.write(bytes) != bytes.size())
        throw CommandError(QStringLiteral("standard output cannot be written (%1)").arg(out.errorString()));
}

// A failure of a database reaches the operator as one line.
void asCommand(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DataAccessError &failure) {
        throw CommandError(failure.description());
    }
}

} // namespace

QString usage()
{
    return QStringLiteral("usage: valdoren-db create-target PATH --program ROZ|VAM|LUG|SOMA\n"
                          "       valdoren-db create-source PATH --from DIR [--locode FILE]...\n"
                          "       valdoren-db dump PATH TABLE [--password P]\n"
                          "       valdoren-db compare SOURCE TARGET [--password P] [--list]\n"
                          "       valdoren-db changes OLD NEW [--list]\n"
                          "       valdoren-db transfer SOURCE TARGET... [--only CATEGORIES] [--password P]\n"
                          "       valdoren-db --version | --help");
}

int run(const QStringList &arguments, QIODevice &out)
{
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("--version")) {
        out.write("valdoren-db " VALDOREN_VERSION "\n");
    } else if (command == QLatin1String("--help")) {
        out.write(usage().toUtf8() + '\n');
    } else if (command == QLatin1String("create-target")) {
        const Options options(command, rest, 1, {QStringLiteral("--program")});
        createTarget(options.positional(0), options.single(QStringLiteral("--program"), true));
    } else if (command == QLatin1String("create-source")) {
        const Options options(command, rest, 1, {QStringLiteral("--from"), QStringLiteral("--locode")});
        createSource(options.positional(0), options.single(QStringLiteral("--from"), true),
                     options.all(QStringLiteral("--locode")));
    } else if (command == QLatin1String("dump")) {
        const Options options(command, rest, 2, {QStringLiteral("--password")});
        dump(options.positional(0), options.positional(1),
             options.single(QStringLiteral("--password"), false), out);
    } else if (command == QLatin1String("transfer")) {
        const Options options(command, rest, 2, {QStringLiteral("--only"), QStringLiteral("--password")},
                              Options::AnyNumber);
        const QString only = options.single(QStringLiteral("--only"), false);
        // As a window with no tick: nothing to do, and nothing done.
        if (only.isEmpty() && !options.all(QStringLiteral("--only")).isEmpty())
            throw CommandError(QStringLiteral("--only names no category: nothing to transfer"));
        return transfer(options.positional(0), options.positionalFrom(1),
                        only.isEmpty() ? QStringList() : only.split(QLatin1Char(',')),
                        options.single(QStringLiteral("--password"), false), out);
    } else if (command == QLatin1String("compare")) {
        const Options options(command, rest, 2, {QStringLiteral("--password")}, 2,
                              {QStringLiteral("--list")});
        return compare(options.positional(0), options.positional(1),
                       options.single(QStringLiteral("--password"), false),
                       options.isSet(QStringLiteral("--list")), out)
            ? Done
            : CodesMissing;
    } else if (command == QLatin1String("changes")) {
        const Options options(command, rest, 2, {}, 2, {QStringLiteral("--list")});
        return changes(options.positional(0), options.positional(1), options.isSet(QStringLiteral("--list")),
                       out)
            ? Differ
            : Done;
    } else {
        throw CommandError((command.isEmpty() ? QStringLiteral("no command given")
                                              : QStringLiteral("unknown command \"%1\"").arg(command))
                           + QStringLiteral(" (valdoren-db --help shows the usage)"));
    }
    return Done;
}

void createTarget(const QString &path, const QString &programName)
{
    const auto program = lorvanta::programFromName(programName);
    if (!program)
        throw CommandError(QStringLiteral("unknown program \"%1\" (ROZ, VAM, LUG or SOMA)").arg(programName));
    asCommand([&] { lorvanta::createTargetDatabase(path, *program); });
}

void createSource(const QString &path, const QString &folder, const QStringList &locodeFiles)
{
    if (!QFileInfo(folder).isDir())
        throw CommandError(QStringLiteral("%1: not a folder").arg(folder));
    QMap<QString, codelists::CodeList> lists;
    try {
        lists = codelists::readSourceLists(folder, locodeFiles);
    } catch (const codelists::InputError &error) {
        throw CommandError(error.message());
    }
    asCommand([&] {
        dataaccess::createDatabase(path, QString(), [&](dataaccess::Connection &db) {
            for (const QString &table : lorvanta::sourceTables()) {
                db.execute(lorvanta::createSourceTableStatement(table));
                const QString prefix = QStringLiteral("INSERT INTO %1 (Kode, Uraian) VALUES (").arg(table);
                for (const codelists::CodeRow &row : lists.value(table))
                    db.execute(prefix + dataaccess::sqlLiteral(row.code) + QStringLiteral(", ")
                               + dataaccess::sqlLiteral(row.description) + QLatin1Char(')'));
            }
        });
    });
}

void openSource(dataaccess::Connection &db, const QString &path, const QString &hint)
{
    try {
        openForReading(db, path, QString());
    } catch (const DataAccessError &failure) {
        if (failure.number() != dataaccess::errc::WrongPassword || !isLorvantaDatabase(path))
            throw;
        throw CommandError(
            QStringLiteral("%1 is a Lorvanta database, not a source like NewCodes.mdb%2").arg(path, hint));
    }
}

void dump(const QString &path, const QString &table, const QString &password, QIODevice &out)
{
    // On a terminal no name may move the cursor or turn the text around; a
    // file or a pipe gets the table exactly, for create-source to read back.
    const auto *file = qobject_cast<QFileDevice *>(&out);
    const bool terminal = file && ::isatty(file->handle());
    const auto shown = [terminal](const csv::Field &field) {
        return terminal && field ? csv::Field(escapedControls(*field)) : field;
    };
    asCommand([&] {
        dataaccess::Connection db;
        if (password.isEmpty())
            openSource(db, path,
                       QStringLiteral(" (dump reads one with --password and its program's password)"));
        else
            openForReading(db, path, password);
        dataaccess::Recordset rows;
        rows.open(QStringLiteral("SELECT * FROM ") + quotedIdentifier(table), db);
        const QStringList names = rows.fieldNames();
        csv::Record header;
        for (const QString &name : names)
            header.append(shown(name));
        write(out, csv::formatRecord(header));
        for (; !rows.eof(); rows.moveNext()) {
            csv::Record record;
            for (const QString &name : names)
                record.append(shown(rows.field(name)));
            write(out, csv::formatRecord(record));
        }
        rows.close();
        db.close();
    });
}

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
