#include "dbtool/dbcommands.h"

#include "dataaccess/connection.h"
#include "dataaccess/connectionstring.h"
#include "dataaccess/databasefile.h"
#include "dataaccess/recordset.h"
#include "dataaccess/sqltext.h"
#include "dbtool/codelistfiles.h"
#include "dbtool/csv.h"
#include "transfer/lorvanta.h"

#include <QFileInfo>

namespace dbcommands {

namespace {

using dataaccess::DataAccessError;

QString quotedIdentifier(const QString &name)
{
    QString text = name;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Options after the positional arguments: "--name value", repeatable ones
// collected in order.
class Options
{
public:
    Options(const QStringList &arguments, int positionalCount, const QStringList &allowed)
    {
        if (arguments.size() < positionalCount)
            throw CommandError(QStringLiteral("missing arguments\n") + usage());
        m_positional = arguments.mid(0, positionalCount);
        for (int i = positionalCount; i < arguments.size(); i += 2) {
            const QString &name = arguments.at(i);
            if (!allowed.contains(name))
                throw CommandError(QStringLiteral("unknown option \"%1\"").arg(name));
            if (i + 1 >= arguments.size())
                throw CommandError(QStringLiteral("%1 needs a value").arg(name));
            m_values.append({name, arguments.at(i + 1)});
        }
    }

    QString positional(int index) const { return m_positional.at(index); }

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
                          "       valdoren-db dump PATH TABLE [--password P]");
}

void run(const QStringList &arguments, QIODevice &out)
{
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("create-target")) {
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
    } else {
        throw CommandError((command.isEmpty() ? QStringLiteral("no command given\n")
                                              : QStringLiteral("unknown command \"%1\"\n").arg(command))
                           + usage());
    }
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

} // namespace dbcommands
