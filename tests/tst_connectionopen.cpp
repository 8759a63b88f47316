#include "dataaccess/connection.h"
#include "dataaccess/connectionstring.h"
#include "dataaccess/passwordverifier.h"
#include "dataaccess/recordset.h"
#include "testdatabases.h"

#include <QDir>
#include <QPasswordDigestor>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using dataaccess::Connection;
using dataaccess::DataAccessError;
namespace errc = dataaccess::errc;
using namespace testsupport;

namespace {

// An Access file's first bytes: a page header, then the signature at byte 4.
QByteArray accessHeader(const QByteArray &signature)
{
    QByteArray page(4096, '\0');
    page[0] = 0x00;
    page[1] = 0x01;
    page.replace(4, signature.size(), signature);
    return page;
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes;
}

} // namespace

class TestConnectionOpen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void opensWithTheRightPassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("madeBefore"); // a file an earlier build made; empty: made here
        QTest::newRow("Lorvanta password") << "GorvanPelikMiro" << QString();
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("with ; and quotes") << "a;'b\"c" << QString();
        QTest::newRow("non-ASCII") << "Kata sandi ß ☃" << QString();
        // valdoren-db create-target of the build that derived keys with Qt's QPasswordDigestor.
        QTest::newRow("ROZ target whose key Qt derived") << "GorvanPelikMiro"
                                                         << "dbROZ-key-by-qt.mdb";
    }

    void opensWithTheRightPassword()
    {
        QFETCH(QString, password);
        QFETCH(QString, madeBefore);
        const QString path = m_dir.filePath(QStringLiteral("right-%1.mdb").arg(QTest::currentDataTag()));
        if (madeBefore.isEmpty())
            makeDatabase(path, password, {QStringLiteral("CREATE TABLE Codes (Kode TEXT, Uraian TEXT)")});
        else
            QVERIFY(QFile::copy(QStringLiteral(VALDOREN_FIXTURES_DIR "/") + madeBefore, path));
        Connection db;
        db.setConnectionString(jetConnectionString(path, password));
        db.open();
        QVERIFY(db.isOpen());
        db.close();
        QVERIFY(!db.isOpen());
    }

    // Every refusal names a reason and leaves the file as it was.
    void refusesAndWritesNothing_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("reason");

        makeDatabase(m_dir.filePath(QStringLiteral("protected.mdb")), QStringLiteral("GorvanPelikMiro"), {});
        makeDatabase(m_dir.filePath(QStringLiteral("open.mdb")), QString(), {});
        writeFile(m_dir.filePath(QStringLiteral("empty.mdb")), {});
        writeFile(m_dir.filePath(QStringLiteral("random.mdb")), randomBytes(8192));
        writeFile(m_dir.filePath(QStringLiteral("text.mdb")), "Kode,Uraian\r\nID,Indonesia\r\n");
        writeFile(m_dir.filePath(QStringLiteral("jet.mdb")), accessHeader("Standard Jet DB"));
        writeFile(m_dir.filePath(QStringLiteral("ace.accdb")), accessHeader("Standard ACE DB"));
        writeFile(m_dir.filePath(QStringLiteral("short.mdb")), QByteArray("SQLite format 3\0", 16));
        QDir(m_dir.path()).mkdir(QStringLiteral("folder.mdb"));
        makeForeignSqlite(m_dir.filePath(QStringLiteral("foreign.mdb")));
        // Password records this program never writes; two would hold the open
        // for hours, or for ever.
        const auto tampered = [this](const char *name, const QStringList &statements) {
            makeDatabase(m_dir.filePath(QString::fromLatin1(name)), QStringLiteral("pw"), statements);
        };
        tampered("iterations.mdb", {"UPDATE valdoren_password SET iterations = 2147483647"});
        tampered("algorithm.mdb", {"UPDATE valdoren_password SET algorithm = 'pbkdf2-sha1'"});
        // The stored key with one byte other, at either end; a salt a byte short.
        tampered("first-byte.mdb",
                 {"UPDATE valdoren_password SET digest = CAST((CASE WHEN substr(digest, 1, 1) "
                  "= X'00' THEN X'01' ELSE X'00' END) || substr(digest, 2) AS BLOB)"});
        tampered("last-byte.mdb",
                 {"UPDATE valdoren_password SET digest = CAST(substr(digest, 1, 31) || (CASE WHEN "
                  "substr(digest, 32) = X'00' THEN X'01' ELSE X'00' END) AS BLOB)"});
        tampered("salt.mdb", {"UPDATE valdoren_password SET salt = substr(salt, 2)"});
        tampered("view.mdb",
                 {"DROP TABLE valdoren_password",
                  "CREATE VIEW valdoren_password AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                  "SELECT x + 1 FROM c) SELECT '' AS algorithm, 0 AS iterations, '' AS salt, '' AS digest "
                  "FROM c WHERE x < 0"});

        QTest::newRow("wrong password") << "protected.mdb"
                                        << "gorvanpelikmiro" << errc::WrongPassword << "does not match";
        QTest::newRow("empty password for a protected file") << "protected.mdb"
                                                             << "" << errc::WrongPassword << "does not match";
        QTest::newRow("a password for an open file") << "open.mdb"
                                                     << "x" << errc::WrongPassword << "does not match";
        QTest::newRow("missing file") << "missing.mdb"
                                      << "" << errc::FileNotFound << "does not exist";
        QTest::newRow("folder") << "folder.mdb"
                                << "" << errc::IsDirectory << "folder";
        QTest::newRow("empty file") << "empty.mdb"
                                    << "" << errc::EmptyFile << "empty";
        QTest::newRow("random bytes") << "random.mdb"
                                      << "" << errc::NotADatabase << "not a database";
        QTest::newRow("text file") << "text.mdb"
                                   << "" << errc::NotADatabase << "not a database";
        QTest::newRow("cut-off header") << "short.mdb"
                                        << "" << errc::NotADatabase << "not a database";
        QTest::newRow("Jet file") << "jet.mdb"
                                  << "" << errc::AccessDatabase << "Microsoft Access";
        QTest::newRow("ACE file") << "ace.accdb"
                                  << "" << errc::AccessDatabase << "Microsoft Access";
        QTest::newRow("other program's SQLite file")
            << "foreign.mdb"
            << "" << errc::ForeignDatabase << "another program's database";
        const QString damagedRecord = QStringLiteral("password record is damaged");
        QTest::newRow("2,147,483,647 password iterations") << "iterations.mdb"
                                                           << "pw" << errc::ForeignDatabase << damagedRecord;
        QTest::newRow("unknown password algorithm") << "algorithm.mdb"
                                                    << "pw" << errc::ForeignDatabase << damagedRecord;
        QTest::newRow("stored key other in its first byte")
            << "first-byte.mdb"
            << "pw" << errc::WrongPassword << "does not match";
        QTest::newRow("stored key other in its last byte")
            << "last-byte.mdb"
            << "pw" << errc::WrongPassword << "does not match";
        QTest::newRow("salt of 15 bytes") << "salt.mdb"
                                          << "pw" << errc::ForeignDatabase << damagedRecord;
        QTest::newRow("password record a view that never ends")
            << "view.mdb"
            << "pw" << errc::ForeignDatabase << "no database password record";
    }

    void refusesAndWritesNothing()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, password);
        QFETCH(int, number);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(fileName);
        const FileSnapshot before = snapshot(path);
        const QStringList entriesBefore = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

        Connection db;
        db.setConnectionString(jetConnectionString(path, password));
        try {
            db.open();
            QFAIL("open succeeded");
        } catch (const DataAccessError &failure) {
            QCOMPARE(failure.number(), number);
            QVERIFY2(failure.description().contains(reason), qPrintable(failure.description()));
            QVERIFY2(failure.description().contains(path), qPrintable(failure.description()));
            QVERIFY(!failure.isRowRefusal());
        }
        QVERIFY(!db.isOpen());
        QVERIFY(snapshot(path) == before);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden), entriesBefore);
    }

    // As published, and as Qt's PBKDF2 derived it for every database so far.
    void keyIsDerivedAsBefore_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("salt");
        QTest::addColumn<int>("iterations");
        QTest::addColumn<QByteArray>("keyHex");
        QTest::newRow("RFC 7914, 11: one iteration")
            << "passwd" << QByteArray("salt") << 1
            << QByteArray("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
                          "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783");
        QTest::newRow("RFC 7914, 11: 80,000 iterations")
            << "Password" << QByteArray("NaCl") << 80000
            << QByteArray("4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
                          "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d");
        const QString password = QStringLiteral("Kata sandi ß ☃ ").repeated(6); // longer than a hash block
        const QByteArray salt = randomBytes(16);
        QTest::newRow("non-ASCII, as a database keeps it")
            << password << salt << 60000
            << QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, 60000,
                                                  32)
                   .toHex();
    }

    void keyIsDerivedAsBefore()
    {
        QFETCH(QString, password);
        QFETCH(QByteArray, salt);
        QFETCH(int, iterations);
        QFETCH(QByteArray, keyHex);
        const int bytes = static_cast<int>(keyHex.size() / 2);
        QCOMPARE(dataaccess::PasswordVerifier::derive(password, salt, iterations, bytes).toHex(), keyHex);
    }

    void refusesAnUnknownProvider_data()
    {
        QTest::addColumn<QString>("connectionString");
        QTest::newRow("ACE provider") << "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=%1;";
        QTest::newRow("no provider") << "Data Source=%1;";
        QTest::newRow("empty provider") << "Provider=;Data Source=%1;";
    }

    void refusesAnUnknownProvider()
    {
        QFETCH(QString, connectionString);
        const QString path = m_dir.filePath(QStringLiteral("provider.mdb"));
        if (!QFile::exists(path))
            makeDatabase(path, QString(), {});
        Connection db;
        db.setConnectionString(connectionString.arg(path));
        QVERIFY_THROWS_EXCEPTION(DataAccessError, db.open());
        try {
            db.open();
        } catch (const DataAccessError &failure) {
            QCOMPARE(failure.number(), errc::UnknownProvider);
        }
    }

    void providerNameIsCaseInsensitive()
    {
        const QString path = m_dir.filePath(QStringLiteral("case.mdb"));
        makeDatabase(path, QStringLiteral("pw"), {});
        Connection db;
        db.setConnectionString(QStringLiteral("provider=MICROSOFT.JET.OLEDB.4.0; data source = %1 ; "
                                              "JET OLEDB:DATABASE PASSWORD=pw")
                                   .arg(path));
        db.open();
        QVERIFY(db.isOpen());
    }

    void pathWithSeparatorsAndQuotesOpens()
    {
        const QString folder = m_dir.filePath(QStringLiteral("odd; 'folder' \"%?#\" Côte"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath(QStringLiteral("db;x'y.mdb"));
        makeDatabase(path, QStringLiteral("pw"), {QStringLiteral("CREATE TABLE T (a TEXT)")});
        Connection db;
        db.setConnectionString(jetConnectionString(path, QStringLiteral("pw")));
        db.open();
        db.execute(QStringLiteral("INSERT INTO T VALUES ('x')"));
        db.close();
        QCOMPARE(integrityCheck(path), QStringLiteral("ok"));
    }

    void refusesAFileLockedByAnotherWriter()
    {
        const QString path = m_dir.filePath(QStringLiteral("locked.mdb"));
        makeDatabase(path, QString(), {});
        QProcess holder;
        holder.start(builtProgram(QStringLiteral("dbhelper")), {QStringLiteral("lock"), path});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));
        const FileSnapshot before = snapshot(path);

        Connection db;
        db.setBusyTimeout(std::chrono::milliseconds(300));
        db.setConnectionString(jetConnectionString(path, QString()));
        try {
            db.open();
            QFAIL("open succeeded on a locked file");
        } catch (const DataAccessError &failure) {
            QVERIFY2(failure.description().contains(QStringLiteral("locked")),
                     qPrintable(failure.description()));
            QVERIFY(!failure.isRowRefusal());
        }

        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(snapshot(path) == before);
        db.open(); // the same object opens once the lock is gone
        QVERIFY(db.isOpen());
    }

    void opensAReadOnlyFileForReading()
    {
        const QString path = m_dir.filePath(QStringLiteral("readonly.mdb"));
        makeDatabase(path, QString(), {QStringLiteral("CREATE TABLE T (a TEXT)")});
        if (!makeReadOnly(path))
            QSKIP("cannot make a file read-only here (chattr missing?)");
        const auto restore = qScopeGuard([&] { makeWritable(path); });
        Connection db;
        db.setConnectionString(jetConnectionString(path, QString()));
        db.open();
        dataaccess::Recordset rows;
        rows.open(QStringLiteral("SELECT count(*) AS n FROM T"), db);
        QCOMPARE(rows.field(QStringLiteral("n")), std::optional<QString>(QStringLiteral("0")));
        rows.close();
        db.close();
    }

    void openTwiceFails()
    {
        const QString path = m_dir.filePath(QStringLiteral("twice.mdb"));
        makeDatabase(path, QString(), {});
        Connection db;
        db.setConnectionString(jetConnectionString(path, QString()));
        db.open();
        QVERIFY_THROWS_EXCEPTION(DataAccessError, db.open());
        QVERIFY(db.isOpen());
    }

private:
    static void makeForeignSqlite(const QString &path)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery(db).exec(QStringLiteral("CREATE TABLE T (a)"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestConnectionOpen)
#include "tst_connectionopen.moc"
