#include "dataaccess/connection.h"
#include "dataaccess/recordset.h"
#include "testdatabases.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using dataaccess::Connection;
using dataaccess::DataAccessError;
using dataaccess::FailureKind;
using dataaccess::Recordset;
using namespace testsupport;

namespace {

const QString Password = QStringLiteral("GorvanPelikMiro");

QStringList codesIn(Connection &db, const QString &table)
{
    QStringList codes;
    Recordset rows;
    for (rows.open(QStringLiteral("SELECT KdEdi FROM ") + table, db); !rows.eof(); rows.moveNext())
        codes << rows.field(QStringLiteral("KdEdi")).value_or(QStringLiteral("<null>"));
    return codes;
}

// Resident memory of this process, in kilobytes.
qint64 residentKilobytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_path = m_dir.filePath(QStringLiteral("%1.mdb").arg(QTest::currentTestFunction()));
        QFile::remove(m_path);
        makeTarget(m_path, lorvanta::Program::Roz);
        m_db.setConnectionString(jetConnectionString(m_path, Password));
        m_db.open();
    }

    void cleanup() { m_db.close(); }

    void refusedRowLeavesTheRowsAroundIt()
    {
        m_db.execute(QStringLiteral("Insert Into tblNegara(KdEdi, Uredi) Values('ID', 'Indonesia')"));
        QVERIFY_THROWS_EXCEPTION(
            DataAccessError,
            m_db.execute(QStringLiteral("Insert Into tblNegara(KdEdi, Uredi) Values('ID', 'again')")));
        m_db.execute(QStringLiteral("Insert Into tblNegara(KdEdi, Uredi) Values('MY', 'Malaysia')"));
        m_db.close();
        m_db.open();
        QCOMPARE(codesIn(m_db, QStringLiteral("tblNegara")), QStringList({"ID", "MY"}));
    }

    void failuresAreClassified_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("rowRefused");
        QTest::newRow("duplicate code") << "Insert Into tblSatuan(KdEdi, Uredi) Values('KGM', 'dup')" << true;
        QTest::newRow("value too long")
            << QStringLiteral("Insert Into tblSatuan(KdEdi, Uredi) Values('X', '%1')")
                   .arg(QString(51, QLatin1Char('a')))
            << true;
        QTest::newRow("wrong type") << "Insert Into tblSatuan(KdEdi, Uredi) Values(X'00', 'blob')" << true;
        QTest::newRow("text for the row id (SQLite's MISMATCH)")
            << "Insert Into tblSatuan(rowid, KdEdi, Uredi) Values('x', 'A', 'B')" << true;
        QTest::newRow("null code") << "Insert Into tblSatuan(KdEdi, Uredi) Values(NULL, 'x')" << true;
        // As a key declared ON CONFLICT ROLLBACK does: the whole transaction is undone.
        QTest::newRow("a conflict that rolls back")
            << "Insert Or Rollback Into tblSatuan(KdEdi, Uredi) Values('KGM', 'dup')" << true;
        QTest::newRow("missing table") << "Insert Into tblNothing(KdEdi, Uredi) Values('A', 'B')" << false;
        QTest::newRow("missing column") << "Insert Into tblSatuan(Nope) Values('A')" << false;
        QTest::newRow("two statements")
            << "Insert Into tblSatuan(KdEdi, Uredi) Values('A', 'B'); Delete From tblSatuan" << false;
    }

    void failuresAreClassified()
    {
        QFETCH(QString, statement);
        QFETCH(bool, rowRefused);
        m_db.beginTrans(); // no commit comes between the statements
        m_db.execute(QStringLiteral("Insert Into tblSatuan(KdEdi, Uredi) Values('KGM', 'kilogram')"));
        try {
            m_db.execute(statement);
            QFAIL("the statement was accepted");
        } catch (const DataAccessError &failure) {
            QCOMPARE(failure.isRowRefusal(), rowRefused);
            // Only the code stored before is there already; what else refuses
            // a row, and a table or column the database lacks, is the
            // administrator's to mend.
            const bool duplicate = statement.contains(QLatin1String("'KGM'"));
            QCOMPARE(failure.isDuplicateKey(), duplicate);
            QCOMPARE(failure.remedy() == dataaccess::Remedy::MendTables,
                     rowRefused ? !duplicate : QByteArray(QTest::currentDataTag()).startsWith("missing"));
            QVERIFY(failure.number() != 0);
            QVERIFY(!failure.description().isEmpty());
        }
        // The target undoes the transaction: applied again, it has nothing it refused.
        try {
            m_db.execute(
                QStringLiteral("Insert Or Rollback Into tblSatuan(KdEdi, Uredi) Values('KGM', 'again')"));
            QFAIL("the statement was accepted");
        } catch (const DataAccessError &failure) {
            QVERIFY2(failure.isRowRefusal(), qPrintable(failure.description()));
        }
        // Nothing else changed: the earlier row is there, alone.
        QCOMPARE(codesIn(m_db, QStringLiteral("tblSatuan")), QStringList({"KGM"}));
    }

    // A target that undoes the transaction again when it is applied anew:
    // the failure says exactly how many statements were lost.
    void transactionThatCannotBeRestoredIsReported()
    {
        m_db.execute(QStringLiteral("CREATE TRIGGER undo BEFORE INSERT ON tblSatuan WHEN total_changes() > 1 "
                                    "BEGIN SELECT RAISE(ROLLBACK, 'not here'); END"));
        m_db.beginTrans(); // no commit can come between the statements
        m_db.execute(QStringLiteral("Insert Into tblSatuan(KdEdi) Values('KGM')"));
        m_db.execute(QStringLiteral("Insert Into tblSatuan(KdEdi) Values('MTR')"));
        try {
            m_db.execute(QStringLiteral("Insert Into tblSatuan(KdEdi) Values('X')"));
            QFAIL("the statement was accepted");
        } catch (const DataAccessError &failure) {
            QCOMPARE(failure.kind(), FailureKind::DatabaseFailed);
            QCOMPARE(failure.notKept(), qsizetype(2));
        }
        QCOMPARE(codesIn(m_db, QStringLiteral("tblSatuan")), QStringList());
    }

    void writingAReadOnlyFileIsADatabaseFailure()
    {
        m_db.execute(QStringLiteral("Insert Into tblValuta(KdEdi, Uredi) Values('IDR', 'Rupiah')"));
        m_db.close();
        if (!makeReadOnly(m_path))
            QSKIP("cannot make a file read-only here (chattr missing?)");
        const auto restore = qScopeGuard([&] { makeWritable(m_path); });
        m_db.open();
        try {
            m_db.execute(QStringLiteral("Insert Into tblValuta(KdEdi, Uredi) Values('USD', 'Dollar')"));
            QFAIL("a read-only file took a row");
        } catch (const DataAccessError &failure) {
            QCOMPARE(failure.kind(), FailureKind::DatabaseFailed);
            QVERIFY2(failure.description().contains(QStringLiteral("read-only")),
                     qPrintable(failure.description()));
        }
        QCOMPARE(codesIn(m_db, QStringLiteral("tblValuta")), QStringList({"IDR"}));
        m_db.close();
        makeWritable(m_path);
        m_db.open(); // cleanup() closes it
    }

    // Whether the disk fills at a statement or at a commit, the failure comes
    // once, says how many statements were not kept, and leaves a sound file
    // holding exactly the others.
    void fullDiskIsReportedOnceWithWhatWasLost_data()
    {
        QTest::addColumn<int>("commitEvery"); // 0: only execute() commits, by age
        QTest::newRow("small transactions") << 97;
        QTest::newRow("a transaction that fills the disk at its commit") << 2000;
        QTest::newRow("a commit by age that fills the disk") << 0;
    }

    void fullDiskIsReportedOnceWithWhatWasLost()
    {
        QFETCH(int, commitEvery);
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        m_db.close();
        const QString mountPoint = m_dir.filePath(QStringLiteral("small"));
        QDir().mkpath(mountPoint);
        if (QProcess::execute(QStringLiteral("mount"),
                              {"-t", "tmpfs", "-o", "size=120k", "tmpfs", mountPoint})
            != 0)
            QSKIP("cannot mount a tmpfs here");
        const auto unmount = qScopeGuard([&] {
            QProcess::execute(QStringLiteral("umount"), {"-l", mountPoint});
        });
        m_path = QDir(mountPoint).filePath(QStringLiteral("dbROZ.mdb"));
        makeTarget(m_path, lorvanta::Program::Roz);
        m_db.setConnectionString(jetConnectionString(m_path, Password));
        m_db.open();
        // No pages spill from the cache: the disk fills at a commit (or a journal write).
        m_db.execute(QStringLiteral("PRAGMA cache_size = -65536"));
        m_db.commit();

        int executed = 0;
        QString failure;
        qsizetype notKept = -1;
        try {
            while (true) {
                m_db.execute(QStringLiteral("Insert Into tblPelLN(KdEdi, Uredi) Values('%1', '%2')")
                                 .arg(executed)
                                 .arg(QString(40, QLatin1Char('n'))));
                ++executed;
                if (commitEvery > 0 && executed % commitEvery == 0)
                    m_db.commit();
            }
        } catch (const DataAccessError &error) {
            QCOMPARE(error.kind(), FailureKind::DatabaseFailed);
            QCOMPARE(error.remedy(), dataaccess::Remedy::MakeRoom);
            failure = error.description();
            notKept = error.notKept();
        }
        QVERIFY2(failure.contains(QStringLiteral("disk is full")), qPrintable(failure));
        m_db.close(); // nothing left to fail
        QCOMPARE(integrityCheck(m_path), QStringLiteral("ok"));
        m_db.open();
        const int stored = codesIn(m_db, QStringLiteral("tblPelLN")).size();
        qInfo("%d statements ran, %d rows stored: %s", executed, stored, qPrintable(failure));
        QCOMPARE(notKept, qsizetype(executed - stored));
        m_db.close();
    }

    void defaultColumnIsFilledByTheDatabase()
    {
        m_db.execute(QStringLiteral("Insert Into tblKemasan(KdEdi, Uredi) Values('BX', 'Box')"));
        Recordset rows;
        rows.open(QStringLiteral("Select * From tblKemasan"), m_db);
        QVERIFY(!rows.eof());
        QVERIFY(!rows.field(QStringLiteral("TglRekam")).value_or(QString()).isEmpty());
    }

    // Work reaches the file within about the commit interval: by the timer
    // when no statement follows, as long as events are processed; by the
    // statements that follow when none are.
    void workReachesTheFile_data()
    {
        QTest::addColumn<bool>("eventsProcessed");
        QTest::newRow("idle: the timer commits") << true;
        QTest::newRow("busy without events: a statement commits") << false;
    }

    void workReachesTheFile()
    {
        QFETCH(bool, eventsProcessed);
        // No page spills from the cache, which would lock readers out until the next commit.
        m_db.execute(QStringLiteral("PRAGMA cache_size = -65536"));
        m_db.execute(QStringLiteral("Insert Into tblPelDN(KdEdi, Uredi) Values('IDJKT', 'Jakarta')"));
        if (eventsProcessed) {
            QTRY_COMPARE_WITH_TIMEOUT(committedRowCount(QStringLiteral("tblPelDN")), 1, 5000);
            return;
        }
        QElapsedTimer clock; // the last statement ends twice the interval after the first
        for (clock.start(); !clock.hasExpired(2 * Connection::CommitInterval.count());)
            m_db.execute(QStringLiteral("Insert Into tblPelLN(KdEdi) Values('%1')").arg(++m_codes));
        QCOMPARE(committedRowCount(QStringLiteral("tblPelDN")), 1);
    }

    void closeCommits()
    {
        m_db.execute(QStringLiteral("Insert Into tblPelDN(KdEdi, Uredi) Values('IDSUB', 'Surabaya')"));
        m_db.close();
        QCOMPARE(committedRowCount(QStringLiteral("tblPelDN")), 1);
    }

    void executeOnAClosedConnectionFails()
    {
        m_db.close();
        QVERIFY_THROWS_EXCEPTION(DataAccessError, m_db.execute(QStringLiteral("Select 1")));
    }

    void readerGivesFieldsByNameAndNulls()
    {
        m_db.execute(QStringLiteral("Insert Into tblNegara(KdEdi, Uredi) Values('CI', 'Côte d''Ivoire')"));
        m_db.execute(QStringLiteral("Insert Into tblNegara(KdEdi) Values('XX')"));
        Recordset rows;
        rows.open(QStringLiteral("Select * From tblNegara"), m_db);
        QCOMPARE(rows.field(QStringLiteral("kdedi")), std::optional<QString>(QStringLiteral("CI")));
        QCOMPARE(rows.field(QStringLiteral("UREDI")),
                 std::optional<QString>(QStringLiteral("Côte d'Ivoire")));
        rows.moveNext();
        QCOMPARE(rows.field(QStringLiteral("KdEdi")), std::optional<QString>(QStringLiteral("XX")));
        QCOMPARE(rows.field(QStringLiteral("Uredi")), std::optional<QString>());
        QVERIFY_THROWS_EXCEPTION(DataAccessError, rows.field(QStringLiteral("Nope")));
        rows.moveNext();
        QVERIFY(rows.eof());
        QVERIFY_THROWS_EXCEPTION(DataAccessError, rows.field(QStringLiteral("KdEdi")));
        QVERIFY_THROWS_EXCEPTION(DataAccessError, rows.moveNext());

        // Numbers and bytes as Qt writes them; closing the connection closes
        // the readers left open, a refused one too, and lets go of the file.
        rows.open(QStringLiteral("Select 42 AS i, 2.5 AS r, 1e20 AS big, X'C3B4' AS b"), m_db);
        const QStringList values = {*rows.field(QStringLiteral("i")), *rows.field(QStringLiteral("r")),
                                    *rows.field(QStringLiteral("big")), *rows.field(QStringLiteral("b"))};
        QCOMPARE(values, QStringList({"42", "2.5", "1e+20", "ô"}));
        Recordset refused; // a second query would not run: refused, yet its statement was made
        QVERIFY_THROWS_EXCEPTION(DataAccessError, refused.open(QStringLiteral("Select 1; Select 2"), m_db));
        m_db.close();
        QVERIFY(!rows.isOpen());
        QVERIFY(isReleased(m_path));
    }

    void readerOnAnEmptyTableIsAtItsEnd()
    {
        Recordset rows;
        rows.open(QStringLiteral("Select * From tblSatuan"), m_db);
        QVERIFY(rows.isOpen());
        QVERIFY(rows.eof());
    }

    void readerOfAMissingTableFailsAsTheDatabase()
    {
        Recordset rows;
        try {
            rows.open(QStringLiteral("Select * From PelLN"), m_db);
            QFAIL("a missing table was read");
        } catch (const DataAccessError &failure) {
            QCOMPARE(failure.kind(), FailureKind::DatabaseFailed);
            QVERIFY(failure.description().contains(QStringLiteral("PelLN")));
        }
    }

    void readingManyRowsKeepsMemoryFlat()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer keeps freed memory in quarantine; the plain build measures this");
#endif
        constexpr int Rows = 100000;
        const QString filler(40, QLatin1Char('x'));
        for (int i = 0; i < Rows; ++i)
            m_db.execute(
                QStringLiteral("Insert Into tblPelLN(KdEdi, Uredi) Values('%1', '%2')").arg(i).arg(filler));
        m_db.commit();

        Recordset rows;
        rows.open(QStringLiteral("Select * From tblPelLN"), m_db);
        int count = 0;
        qint64 memoryEarly = 0;
        for (; !rows.eof(); rows.moveNext()) {
            QCOMPARE(rows.field(QStringLiteral("KdEdi")), std::optional<QString>(QString::number(count)));
            if (++count == Rows / 10)
                memoryEarly = residentKilobytes();
        }
        QCOMPARE(count, Rows);
        const qint64 growth = residentKilobytes() - memoryEarly;
        qInfo("resident memory grew by %lld KiB over the last 90%% of %d rows",
              static_cast<long long>(growth), Rows);
        QVERIFY2(growth < 2048, qPrintable(QStringLiteral("grew by %1 KiB").arg(growth)));
    }

private:
    int committedRowCount(const QString &table) const
    {
        int count = -1;
        {
            QSqlDatabase other
                = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(m_path);
            if (other.open()) {
                QSqlQuery query(other);
                if (query.exec(QStringLiteral("Select count(*) From ") + table) && query.next())
                    count = query.value(0).toInt();
            }
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        return count;
    }

    QTemporaryDir m_dir;
    QString m_path;
    Connection m_db;
    int m_codes = 0; // the clock, read fast, can give one value twice
};

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
