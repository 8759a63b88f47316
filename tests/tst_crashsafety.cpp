#include "dataaccess/connection.h"
#include "dataaccess/recordset.h"
#include "testdatabases.h"

#include <csignal>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

// A process killed at any moment leaves a sound file that keeps every row
// whose statement succeeded more than a second before the kill.
class TestCrashSafety : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWriterLosesNothingOlderThanASecond_data()
    {
        QTest::addColumn<int>("runMilliseconds"); // from the writer's first acknowledged row
        // Several moments, so the kill falls in and between commits.
        for (int round = 0; round < 4; ++round) {
            const int ms = 1300 + QRandomGenerator::global()->bounded(900);
            QTest::addRow("kill after %d ms", ms) << ms;
        }
    }

    void killedWriterLosesNothingOlderThanASecond()
    {
        QFETCH(int, runMilliseconds);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("target.mdb"));
        makeDatabase(path, QStringLiteral("pw"),
                     {QStringLiteral("CREATE TABLE Codes (Kode TEXT UNIQUE, Uraian TEXT)")});

        QProcess writer;
        writer.start(builtProgram(QStringLiteral("dbhelper")),
                     {QStringLiteral("insert"), path, QStringLiteral("pw")});
        QVERIFY(writer.waitForStarted());
        QList<std::pair<qint64, qint64>> acknowledged; // (row, time)
        // Opening takes what the machine gives it (deriving the key, a busy
        // disk): the run is timed from its first row.
        QElapsedTimer sinceFirstRow;
        QByteArray pending;
        while (!sinceFirstRow.isValid() || sinceFirstRow.elapsed() < runMilliseconds) {
            writer.waitForReadyRead(20);
            pending += writer.readAllStandardOutput();
            collectLines(pending, acknowledged);
            if (!sinceFirstRow.isValid() && !acknowledged.isEmpty())
                sinceFirstRow.start();
            QVERIFY2(writer.state() == QProcess::Running, writer.readAllStandardError().constData());
        }
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        const qint64 killedAt = monotonicMilliseconds();
        QVERIFY(writer.waitForFinished(5000));
        pending += writer.readAllStandardOutput();
        collectLines(pending, acknowledged);
        QVERIFY(!acknowledged.isEmpty());

        qint64 mustHave = 0;
        for (const auto &[row, time] : acknowledged) {
            if (time <= killedAt - 1000)
                mustHave = row;
        }
        QVERIFY2(mustHave > 0, "the writer made too little progress to judge");

        QCOMPARE(integrityCheck(path), QStringLiteral("ok"));
        const qint64 stored = storedRowCount(path);
        qInfo("acknowledged %lld rows, %lld of them over a second before the kill; %lld stored",
              static_cast<long long>(acknowledged.last().first), static_cast<long long>(mustHave),
              static_cast<long long>(stored));
        QVERIFY(stored >= mustHave);
        QVERIFY(stored <= acknowledged.last().first + 50);
    }

private:
    static void collectLines(QByteArray &pending, QList<std::pair<qint64, qint64>> &acknowledged)
    {
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QList<QByteArray> fields = pending.left(end).split(' ');
            pending.remove(0, end + 1);
            if (fields.size() == 2)
                acknowledged.append({fields.at(0).toLongLong(), fields.at(1).toLongLong()});
        }
    }

    // Rows are numbered from 1 without gaps, so the largest present must
    // equal the count; both are checked.
    static qint64 storedRowCount(const QString &path)
    {
        dataaccess::Connection db;
        db.setConnectionString(jetConnectionString(path, QStringLiteral("pw")));
        db.open();
        dataaccess::Recordset rows;
        rows.open(QStringLiteral("SELECT count(*) AS n, max(CAST(Kode AS INTEGER)) AS top FROM Codes"), db);
        const qint64 count = rows.field(QStringLiteral("n"))->toLongLong();
        const qint64 top = rows.field(QStringLiteral("top")).value_or(QStringLiteral("0")).toLongLong();
        if (count != top)
            qWarning("rows missing in the middle: %lld rows, highest %lld", static_cast<long long>(count),
                     static_cast<long long>(top));
        return count == top ? count : -1;
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
