// Times the transfer run as the operator gets it (the real main window, one
// statement and one yield per row) against its floor: the same statements
// through the same data-access component in one explicit transaction, with
// no window; and against the engine: the same statements through SQLite's
// C API alone, in one transaction. Prints rows per second of all three,
// peak memory, "engine ratio R" (run time / engine time) and last
// "ratio R", R = run time / floor time. The run's time counts from the press
// of Ok to its return: opening both databases, reading the source, building
// and executing the statements, yielding and showing each row.
#include "dataaccess/connection.h"
#include "dataaccess/connectionstring.h"
#include "dataaccess/databasefile.h"
#include "dataaccess/recordset.h"
#include "dataaccess/sqltext.h"
#include "mainwin/frmvaldorendokumen.h"
#include "transfer/codecategory.h"
#include "transfer/lorvanta.h"
#include "uicommon/dialogseam.h"

#include <cstdio>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

constexpr int FlushSampleRows = 2000;

// Answers the run's messages at once, so nothing waits for a person.
class AnsweringDialogs : public DialogSeam
{
public:
    void showMessage(QWidget *, const QString &text) override { messages << text; }
    QString chooseFile(QFileDialog &) override { return {}; }
    QStringList messages;
};

// Descriptions of the length real code lists have, some with apostrophes.
QString description(QRandomGenerator &random, int row)
{
    static const QStringList words
        = {"Port", "of",       "Saint", "Jean",     "d'Arc", "Container", "Terminal", "Bulk",    "Harbour",
           "Côte", "d'Ivoire", "North", "Kilogram", "per",   "cubic",     "metre",    "O'Brien", "Tanjung"};
    QString text = QString::number(row);
    const int count = 2 + random.bounded(6);
    for (int i = 0; i < count; ++i)
        text += QLatin1Char(' ') + words.at(random.bounded(words.size()));
    return text;
}

void makeSource(const QString &path, int rows)
{
    QRandomGenerator random(44);
    dataaccess::createDatabase(path, QString(), [&](dataaccess::Connection &db) {
        const QStringList tables = lorvanta::sourceTables();
        for (const QString &table : tables)
            db.execute(lorvanta::createSourceTableStatement(table));
        for (int row = 0; row < rows; ++row) {
            db.execute(QStringLiteral("INSERT INTO %1 VALUES ('C%2', %3)")
                           .arg(tables.at(row % tables.size()))
                           .arg(row)
                           .arg(dataaccess::sqlLiteral(description(random, row))));
        }
    });
}

QStringList statementsFrom(const QString &sourcePath)
{
    dataaccess::Connection source;
    source.setConnectionString(dataaccess::ConnectionString::forJet(sourcePath, QString()));
    source.open();
    QStringList statements;
    for (const transfer::CodeCategory &category : transfer::codeCategories()) {
        dataaccess::Recordset rows;
        for (rows.open(category.sourceQuery(), source); !rows.eof(); rows.moveNext())
            statements << transfer::insertStatement(category, rows.field(QStringLiteral("Kode")),
                                                    rows.field(QStringLiteral("Uraian")));
    }
    return statements;
}

double timeFloor(const QString &targetPath, const QStringList &statements)
{
    dataaccess::Connection target;
    target.setConnectionString(
        dataaccess::ConnectionString::forJet(targetPath, QStringLiteral("GorvanPelikMiro")));
    target.open();
    QElapsedTimer clock;
    clock.start();
    target.beginTrans();
    for (const QString &statement : statements)
        target.execute(statement);
    target.commitTrans();
    const double seconds = clock.nsecsElapsed() / 1e9;
    target.close();
    return seconds;
}

void executeOnEngine(sqlite3 *db, const QByteArray &statement)
{
    sqlite3_stmt *prepared = nullptr;
    if (sqlite3_prepare_v2(db, statement.constData(), static_cast<int>(statement.size() + 1), &prepared,
                           nullptr)
        != SQLITE_OK)
        qFatal("the engine refused %s: %s", statement.constData(), sqlite3_errmsg(db));
    const int stepped = sqlite3_step(prepared);
    sqlite3_finalize(prepared);
    if (stepped != SQLITE_DONE)
        qFatal("the engine failed %s: %s", statement.constData(), sqlite3_errmsg(db));
}

// The statements as the engine reads them (UTF-8) are made before the clock
// starts, as the floor's are.
double timeEngine(const QString &targetPath, const QStringList &statements)
{
    QList<QByteArray> utf8;
    utf8.reserve(statements.size());
    for (const QString &statement : statements)
        utf8 << statement.toUtf8();
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(targetPath).constData(), &db, SQLITE_OPEN_READWRITE, nullptr)
        != SQLITE_OK)
        qFatal("cannot open %s: %s", qPrintable(targetPath), sqlite3_errmsg(db));
    QElapsedTimer clock;
    clock.start();
    executeOnEngine(db, QByteArrayLiteral("BEGIN IMMEDIATE"));
    for (const QByteArray &statement : utf8)
        executeOnEngine(db, statement);
    executeOnEngine(db, QByteArrayLiteral("COMMIT"));
    const double seconds = clock.nsecsElapsed() / 1e9;
    sqlite3_close(db);
    return seconds;
}

double timeRun(const QString &programFolder, const QString &targetPath, AnsweringDialogs &dialogs)
{
    frmValdorenDokumen window(programFolder);
    window.show();
    QCoreApplication::processEvents();
    window.txtFileName->setText(targetPath);
    QElapsedTimer clock;
    clock.start();
    window.cmdOk->click();
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (dialogs.messages != QStringList {QStringLiteral("Selesai")})
        qFatal("the run did not complete: %s", qPrintable(dialogs.messages.join(QLatin1String(" | "))));
    return seconds;
}

// What each statement would cost committed on its own, with SQLite's disk
// flush per commit: the cost the run's implicit transactions avoid.
double timeFlushPerStatement(const QString &targetPath, const QStringList &statements)
{
    double seconds = 0.0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("flush"));
        db.setDatabaseName(targetPath);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(targetPath));
        QSqlQuery query(db);
        QElapsedTimer clock;
        clock.start();
        for (const QString &statement : statements)
            query.exec(statement);
        seconds = clock.nsecsElapsed() / 1e9;
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("flush"));
    return seconds;
}

long peakMemoryKib()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times the transfer run against its floor."));
    parser.addHelpOption();
    const QCommandLineOption rowsOption(QStringLiteral("rows"),
                                        QStringLiteral("Source rows (default 100000)."), QStringLiteral("N"),
                                        QStringLiteral("100000"));
    parser.addOption(rowsOption);
    const QCommandLineOption sourceOption(
        QStringLiteral("source"),
        QStringLiteral("Runs on a copy of this source database (the shipped NewCodes.mdb, say) instead."),
        QStringLiteral("PATH"));
    parser.addOption(sourceOption);
    parser.process(app);
    bool ok = false;
    const int rows = parser.value(rowsOption).toInt(&ok);
    if (!ok || rows < 6) {
        std::fprintf(stderr, "valdoren-bench: --rows needs a whole number of at least 6\n");
        return 2;
    }

    QTemporaryDir folder;
    const QString sourcePath = QDir(folder.path()).filePath(QStringLiteral("NewCodes.mdb"));
    const QString runTarget = QDir(folder.path()).filePath(QStringLiteral("dbROZ.mdb"));
    const QString floorTarget = QDir(folder.path()).filePath(QStringLiteral("floor-dbROZ.mdb"));
    const QString engineTarget = QDir(folder.path()).filePath(QStringLiteral("engine-dbROZ.mdb"));
    if (!parser.isSet(sourceOption)) {
        makeSource(sourcePath, rows);
    } else if (!QFile::copy(parser.value(sourceOption), sourcePath)) {
        std::fprintf(stderr, "valdoren-bench: %s cannot be copied\n", qPrintable(parser.value(sourceOption)));
        return 2;
    }
    lorvanta::createTargetDatabase(runTarget, lorvanta::Program::Roz);
    lorvanta::createTargetDatabase(floorTarget, lorvanta::Program::Roz);
    lorvanta::createTargetDatabase(engineTarget, lorvanta::Program::Roz);

    AnsweringDialogs dialogs;
    DialogSeam::setCurrent(&dialogs);
    const double runSeconds = timeRun(folder.path(), runTarget, dialogs);
    // Before the floor, whose list of all statements is the bench's, not the run's.
    const long runPeakKib = peakMemoryKib();
    const QStringList statements = statementsFrom(sourcePath);
    const double floorSeconds = timeFloor(floorTarget, statements);
    const double engineSeconds = timeEngine(engineTarget, statements);
    const QString flushTarget = QDir(folder.path()).filePath(QStringLiteral("flush-dbROZ.mdb"));
    lorvanta::createTargetDatabase(flushTarget, lorvanta::Program::Roz);
    const QStringList flushSample = statements.mid(0, FlushSampleRows);
    const double flushSeconds = timeFlushPerStatement(flushTarget, flushSample);
    DialogSeam::setCurrent(nullptr);

    const auto offered = static_cast<double>(statements.size());
    std::printf("rows %lld\n", static_cast<long long>(statements.size()));
    std::printf("run   %.3f s  %.0f rows/s\n", runSeconds, offered / runSeconds);
    std::printf("floor %.3f s  %.0f rows/s\n", floorSeconds, offered / floorSeconds);
    std::printf("engine %.3f s  %.0f rows/s\n", engineSeconds, offered / engineSeconds);
    std::printf("flush per statement: %lld rows in %.3f s, %.0f us a row (run: %.1f us a row)\n",
                static_cast<long long>(flushSample.size()), flushSeconds,
                flushSeconds / flushSample.size() * 1e6, runSeconds / offered * 1e6);
    std::printf("peak memory %ld KiB after the run\n", runPeakKib);
    std::printf("engine ratio %.2f\n", runSeconds / engineSeconds);
    std::printf("ratio %.2f\n", runSeconds / floorSeconds);
    return 0;
}
