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
#include <QFileInfo>
#include <QHash>

namespace dbcommands {

namespace {

using dataaccess::DataAccessError;

QString quotedIdentifier(const QString &name)
{
    QString text = name;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Positional arguments, as many as a command takes (AnyNumber: at least
// the least), and options among them: "--name value", repeatable ones
// collected in order.
class Options
{
public:
    static constexpr qsizetype AnyNumber = -1;

    Options(const QStringList &arguments, qsizetype positionalCount, const QStringList &allowed,
            qsizetype mostPositional = 0)
    {
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const QString &argument = arguments.at(i);
            if (!argument.startsWith(QLatin1String("--"))) {
                m_positional << argument;
                continue;
            }
            if (!allowed.contains(argument))
                throw CommandError(QStringLiteral("unknown option \"%1\"").arg(argument));
            if (++i >= arguments.size())
                throw CommandError(QStringLiteral("%1 needs a value").arg(argument));
            m_values.append({argument, arguments.at(i)});
        }
        if (m_positional.size() < positionalCount)
            throw CommandError(QStringLiteral("missing arguments\n") + usage());
        const qsizetype most
            = mostPositional == AnyNumber ? m_positional.size() : qMax(positionalCount, mostPositional);
        if (m_positional.size() > most)
            throw CommandError(QStringLiteral("unexpected argument \"%1\"").arg(m_positional.at(most)));
    }

    QString positional(qsizetype index) const { return m_positional.at(index); }
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
    QList<std::pair<QString, QString>> m_values;
};

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
                          "       valdoren-db compare SOURCE TARGET [--password P]\n"
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
        const Options options(rest, 1, {QStringLiteral("--program")});
        createTarget(options.positional(0), options.single(QStringLiteral("--program"), true));
    } else if (command == QLatin1String("create-source")) {
        const Options options(rest, 1, {QStringLiteral("--from"), QStringLiteral("--locode")});
        createSource(options.positional(0), options.single(QStringLiteral("--from"), true),
                     options.all(QStringLiteral("--locode")));
    } else if (command == QLatin1String("dump")) {
        const Options options(rest, 2, {QStringLiteral("--password")});
        dump(options.positional(0), options.positional(1),
             options.single(QStringLiteral("--password"), false), out);
    } else if (command == QLatin1String("transfer")) {
        const Options options(rest, 2, {QStringLiteral("--only"), QStringLiteral("--password")},
                              Options::AnyNumber);
        const QString only = options.single(QStringLiteral("--only"), false);
        return transfer(options.positional(0), options.positionalFrom(1),
                        only.isEmpty() ? QStringList() : only.split(QLatin1Char(',')),
                        options.single(QStringLiteral("--password"), false), out);
    } else if (command == QLatin1String("compare")) {
        const Options options(rest, 2, {QStringLiteral("--password")});
        return compare(options.positional(0), options.positional(1),
                       options.single(QStringLiteral("--password"), false), out)
            ? Done
            : CodesMissing;
    } else {
        throw CommandError((command.isEmpty() ? QStringLiteral("no command given\n")
                                              : QStringLiteral("unknown command \"%1\"\n").arg(command))
                           + usage());
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

void dump(const QString &path, const QString &table, const QString &password, QIODevice &out)
{
    asCommand([&] {
        dataaccess::Connection db;
        db.setConnectionString(dataaccess::ConnectionString::forJet(path, password));
        db.open();
        dataaccess::Recordset rows;
        rows.open(QStringLiteral("SELECT * FROM ") + quotedIdentifier(table), db);
        const QStringList names = rows.fieldNames();
        csv::Record header;
        for (const QString &name : names)
            header.append(name);
        out.write(csv::formatRecord(header));
        for (; !rows.eof(); rows.moveNext()) {
            csv::Record record;
            for (const QString &name : names)
                record.append(rows.field(name));
            out.write(csv::formatRecord(record));
        }
        rows.close();
        db.close();
    });
}

namespace {

// Code -> description, the first row of a code only: the run stores that one
// and the target refuses the others.
using Codes = QHash<QString, QString>;

dataaccess::Connection &openForReading(dataaccess::Connection &db, const QString &path,
                                       const QString &password)
{
    db.setConnectionString(dataaccess::ConnectionString::forJet(path, password)
                           + QStringLiteral("Mode=Read;"));
    db.open();
    return db;
}

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

Tally tally(const Codes &source, const Codes &target)
{
    Tally counts;
    counts.inSource = source.size();
    for (auto it = source.cbegin(); it != source.cend(); ++it) {
        const auto stored = target.constFind(it.key());
        if (stored == target.cend()) {
            ++counts.missing;
            continue;
        }
        ++counts.present;
        if (*stored != it.value())
            ++counts.otherDescription;
    }
    return counts;
}

} // namespace

bool compare(const QString &sourcePath, const QString &targetPath, const QString &password, QIODevice &out)
{
    const bool soma = transfer::isSomaTarget(targetPath);
    const QString targetPassword = !password.isEmpty()
        ? password
        : lorvanta::databasePassword(soma ? lorvanta::Program::Soma : lorvanta::Program::Roz);
    Tally total;
    asCommand([&] {
        dataaccess::Connection source;
        dataaccess::Connection target;
        openForReading(source, sourcePath, QString());
        openForReading(target, targetPath, targetPassword);
        for (const transfer::CodeCategory &category : transfer::codeCategories()) {
            const QString name = category.sourceTable + QStringLiteral(" -> ") + category.targetTable;
            if (category.skippedForSoma && soma) {
                out.write(QStringLiteral("%1: not compared, a SOMA database keeps no foreign ports\n")
                              .arg(name)
                              .toUtf8());
                continue;
            }
            const Codes offered = readCodes(source, category.sourceQuery(), QStringLiteral("Kode"),
                                            QStringLiteral("Uraian"), category.descriptionLimit);
            const Codes stored
                = readCodes(target, QStringLiteral("SELECT KdEdi, Uredi FROM ") + category.targetTable,
                            QStringLiteral("KdEdi"), QStringLiteral("Uredi"), INT_MAX);
            const Tally counts = tally(offered, stored);
            out.write(counts.line(name).toUtf8());
            total += counts;
        }
        source.close();
        target.close();
    });
    out.write(total.line(QStringLiteral("total")).toUtf8());
    return total.missing == 0;
}

} // namespace dbcommands
