#include "dataaccess/connection.h"
#include "dataaccess/recordset.h"
#include "testdatabases.h"

#include <csignal>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

// A process killed at any moment leaves a sound file that keeps every row
// a commit by age has surely saved, judged by the writer's own reports.
class TestCrashSafety : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWriterKeepsWhatWasSaved_data()
    {
        // Reports (one every 50 rows) after the first sure save, so the kill
        // falls in and between commits, and a seed replays it.
        QTest::addColumn<int>("reportsAfterASave");
        QRandomGenerator random(testSeed());
        qInfo("seed %llu (VALDOREN_SEED replays it)", testSeed());
        for (int round = 0; round < 4; ++round) {
            const int reports = random.bounded(2000);
            QTest::addRow("kill %d reports after a save", reports) << reports;
        }
    }

    void killedWriterKeepsWhatWasSaved()
    {
        QFETCH(int, reportsAfterASave);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("target.mdb"));
        makeDatabase(path, QStringLiteral("pw"),
                     {QStringLiteral("CREATE TABLE Codes (Kode TEXT UNIQUE, Uraian TEXT)")});

        QProcess writer;
        writer.start(builtProgram(QStringLiteral("dbhelper")),
                     {QStringLiteral("insert"), path, QStringLiteral("pw")});
        QVERIFY(writer.waitForStarted());
        QList<std::pair<qint64, qint64>> acknowledged; // (row, time)
        const auto momentOf = [](const std::pair<qint64, qint64> &report) { return report.second; };
        qsizetype killAt = -1;
        QByteArray pending;
        while (killAt < 0 || acknowledged.size() < killAt) {
            writer.waitForReadyRead(20);
            pending += writer.readAllStandardOutput();
            collectLines(pending, acknowledged);
            if (killAt < 0 && surelySaved(acknowledged, momentOf) > 0)
                killAt = acknowledged.size() + reportsAfterASave;
            QVERIFY2(writer.state() == QProcess::Running, writer.readAllStandardError().constData());
        }
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(5000));
        pending += writer.readAllStandardOutput();
        collectLines(pending, acknowledged);
        const qint64 mustHave = acknowledged.at(surelySaved(acknowledged, momentOf) - 1).first;

        QCOMPARE(integrityCheck(path), QStringLiteral("ok"));
        const qint64 stored = storedRowCount(path);
        qInfo("acknowledged %lld rows, %lld of them surely saved; %lld stored",
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
