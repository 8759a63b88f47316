#include "dbtool/dbcommands.h"

#include "dbtool/commandsupport.h"

#include "dataaccess/connection.h"
#include "dataaccess/connectionstring.h"
#include "dataaccess/databasefile.h"
#include "dataaccess/recordset.h"
#include "dataaccess/sqltext.h"
#include "dbtool/codelistfiles.h"
#include "dbtool/csv.h"
#include "transfer/codecategory.h"
#include "transfer/lorvanta.h"

#include <QCommandLineParser>
#include <QFileDevice>
#include <QFileInfo>
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
    for (QString line : usage().split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String("usage: "))) // the first line
            line = line.mid(7);
        if (line.startsWith(start))
            return line;
    }
    return {};
}

// The arguments of one command as its usage line has them: options with a
// value ("--name value"; repeatable ones collected in order), flags, and
// from least to most positional arguments (-1: any number); after "--"
// every argument is positional, so that a file may be called "--only".
// Every usage error names the command's usage line.
class CommandLine
{
public:
    CommandLine(const QString &command, const QStringList &arguments, qsizetype least, qsizetype most,
                const QStringList &valued, const QStringList &flags = {})
        : m_usage(usageOf(command))
    {
        m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        for (const QString &name : valued)
            m_parser.addOption(QCommandLineOption(name, QString(), name.toUpper()));
        for (const QString &name : flags)
            m_parser.addOption(QCommandLineOption(name));
        if (!m_parser.parse(QStringList {command} + arguments)) {
            QString why = m_parser.errorText();
            why[0] = why.at(0).toLower();
            usageError(why.chopped(why.endsWith(QLatin1Char('.')) ? 1 : 0));
        }
        m_positional = m_parser.positionalArguments();
        if (m_positional.size() < least)
            usageError(QStringLiteral("missing arguments"));
        if (most >= 0 && m_positional.size() > most)
            usageError(QStringLiteral("unexpected argument \"%1\"").arg(m_positional.at(most)));
    }

    QString positional(qsizetype index) const { return m_positional.at(index); }
    QStringList positionalFrom(qsizetype index) const { return m_positional.mid(index); }
    bool isSet(const QString &flag) const { return m_parser.isSet(flag); }
    QStringList all(const QString &name) const { return m_parser.values(name); }

    QString single(const QString &name, bool required) const
    {
        const QStringList values = all(name);
        if (values.size() > 1)
            usageError(QStringLiteral("--%1 given more than once").arg(name));
        if (values.isEmpty() && required)
            usageError(QStringLiteral("--%1 is required").arg(name));
        return values.value(0);
    }

private:
    [[noreturn]] void usageError(const QString &why) const
    {
        throw CommandError(QStringLiteral("%1; usage: %2").arg(why, m_usage));
    }

    QCommandLineParser m_parser;
    QString m_usage;
    QStringList m_positional;
};

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

} // namespace

dataaccess::Connection &openForReading(dataaccess::Connection &db, const QString &path,
                                       const QString &password)
{
    db.setConnectionString(dataaccess::ConnectionString::forJet(path, password)
                           + QStringLiteral("Mode=Read;"));
    db.open();
    return db;
}

void write(QIODevice &out, const QByteArray &bytes)
{
    if (out.write(bytes) != bytes.size())
        throw CommandError(QStringLiteral("standard output cannot be written (%1)").arg(out.errorString()));
}

void asCommand(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DataAccessError &failure) {
        throw CommandError(failure.description());
    }
}

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
    const QString password = QStringLiteral("password");
    if (command == QLatin1String("--version")) {
        out.write("valdoren-db " VALDOREN_VERSION "\n");
    } else if (command == QLatin1String("--help")) {
        out.write(usage().toUtf8() + '\n');
    } else if (command == QLatin1String("create-target")) {
        const CommandLine line(command, rest, 1, 1, {QStringLiteral("program")});
        createTarget(line.positional(0), line.single(QStringLiteral("program"), true));
    } else if (command == QLatin1String("create-source")) {
        const CommandLine line(command, rest, 1, 1, {QStringLiteral("from"), QStringLiteral("locode")});
        createSource(line.positional(0), line.single(QStringLiteral("from"), true),
                     line.all(QStringLiteral("locode")));
    } else if (command == QLatin1String("dump")) {
        const CommandLine line(command, rest, 2, 2, {password});
        dump(line.positional(0), line.positional(1), line.single(password, false), out);
    } else if (command == QLatin1String("transfer")) {
        const CommandLine line(command, rest, 2, -1, {QStringLiteral("only"), password});
        const QString only = line.single(QStringLiteral("only"), false);
        // As a window with no tick: nothing to do, and nothing done.
        if (only.isEmpty() && line.isSet(QStringLiteral("only")))
            throw CommandError(QStringLiteral("--only names no category: nothing to transfer"));
        return transfer(line.positional(0), line.positionalFrom(1),
                        only.isEmpty() ? QStringList() : only.split(QLatin1Char(',')),
                        line.single(password, false), out);
    } else if (command == QLatin1String("compare")) {
        const CommandLine line(command, rest, 2, 2, {password}, {QStringLiteral("list")});
        return compare(line.positional(0), line.positional(1), line.single(password, false),
                       line.isSet(QStringLiteral("list")), out)
            ? Done
            : CodesMissing;
    } else if (command == QLatin1String("changes")) {
        const CommandLine line(command, rest, 2, 2, {}, {QStringLiteral("list")});
        return changes(line.positional(0), line.positional(1), line.isSet(QStringLiteral("list")), out)
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

} // namespace dbcommands
