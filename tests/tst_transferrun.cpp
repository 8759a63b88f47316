#include "fakerunwindow.h"
#include "testdatabases.h"
#include "transfer/programfiles.h"
#include "transfer/transferrun.h"
#include "transfer/windowlanguage.h"

#include <cstring>
#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;
using transfer::TransferRun;
using Outcome = TransferRun::Outcome;
using Value = std::optional<QString>;

namespace {

const QString RozPassword = QStringLiteral("GorvanPelikMiro");
const QString SomaPassword = QStringLiteral("TobakLimer");

// Small lists with what real ones hold: apostrophes, accents, nulls, long
// names, a code twice.
CodeLists sampleLists()
{
    return {
        {"Kemasan", {{"BX", "Box"}, {"CT", "Carton"}}},
        {"Negara", {{"CI", "Côte d'Ivoire"}, {"ID", "Indonesia"}, {"XX", std::nullopt}}},
        {"PelDN", {{"IDJKT", "Jakarta, Java"}}},
        {"PelLN",
         {{"NLRTM", "Rotterdam"},
          {"NLRTM", "Rotterdam again"},
          {"FRSJD", "Saint-Jean-d'Angély's old harbour"}}},
        {"Satuan", {{"KGM", "kilogram"}, {std::nullopt, "no code"}}},
        {"Valuta", {{"IDR", "Rupiah"}}},
    };
}

// Each step adds 100 / 6 in double to the single value read back; six steps
// end just below 100.
const QList<float> CompletedProgress
    = {0.0f, 16.666666f, 33.333332f, 50.0f, 66.666664f, 83.333328f, 99.99999f};

// Floats compared bit for bit: QCOMPARE's own comparison of floats is fuzzy
// and takes 100 for 99.99999.
QList<quint32> bitsOf(const QList<float> &values)
{
    QList<quint32> bits;
    for (const float value : values) {
        quint32 word;
        std::memcpy(&word, &value, sizeof word);
        bits << word;
    }
    return bits;
}

} // namespace

class TestTransferRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(transfer::useWindowLanguage()); }

    void init()
    {
        m_dir.reset(new QTemporaryDir);
        m_folder = m_dir->path();
        makeSource(QDir(m_folder).filePath(QStringLiteral("NewCodes.mdb")), sampleLists());
        m_target = QDir(m_folder).filePath(QStringLiteral("dbROZ.mdb"));
        makeTarget(m_target, lorvanta::Program::Roz);
        m_window = FakeRunWindow();
        m_window.target = m_target;
    }

    void completedRunStoresEveryRowAndSaysSelesai()
    {
        // By the time "Selesai" shows, both databases are let go.
        m_window.onMessage = [&] { m_releasedAtMessage = isReleased(m_target) && isReleased(source()); };
        QCOMPARE(run(), Outcome::Completed);
        QVERIFY(m_releasedAtMessage);
        QCOMPARE(m_window.messages, QStringList {"Selesai"});
        QCOMPARE(m_window.statusLines,
                 QStringList({"BX - Box", "CT - Carton", "CI - Côte d'Ivoire", "ID - Indonesia", "XX - ",
                              "IDJKT - Jakarta, Java", "NLRTM - Rotterdam", "NLRTM - Rotterdam again",
                              "FRSJD - Saint-Jean-d'Angély's old harbour", "KGM - kilogram", " - no code",
                              "IDR - Rupiah", "Selesai"}));
        QCOMPARE(m_window.yields, 12);
        QCOMPARE(bitsOf(m_window.progressSteps), bitsOf(CompletedProgress));
        QCOMPARE(bitsOf({m_window.progress}), bitsOf({99.99999f}));
        QVERIFY(m_window.bStop);
        QVERIFY(m_window.selectionEnabled);
        QVERIFY(m_window.okEnabled);
        QCOMPARE(m_window.cancelCaption, QStringLiteral("Close"));

        QCOMPARE(tableRows(m_target, RozPassword, "tblNegara"),
                 (QList<CodeRow> {{"CI", "Côte d'Ivoire"}, {"ID", "Indonesia"}, {"XX", ""}}));
        // The second NLRTM is refused by the target, quietly; the long name is cut to 30.
        QCOMPARE(tableRows(m_target, RozPassword, "tblPelLN"),
                 (QList<CodeRow> {{"NLRTM", "Rotterdam"}, {"FRSJD", "Saint-Jean-d'Angély's old harb"}}));
        QCOMPARE(tableRows(m_target, RozPassword, "tblSatuan"),
                 (QList<CodeRow> {{"KGM", "kilogram"}, {"", "no code"}}));
    }

    void runProperIsMarkedWhileRunning()
    {
        int checkedRows = 0;
        m_window.onYield = [&] {
            QVERIFY(!m_window.bStop);
            QVERIFY(!m_window.selectionEnabled);
            QVERIFY(!m_window.okEnabled);
            ++checkedRows;
        };
        QCOMPARE(run(), Outcome::Completed);
        QCOMPARE(checkedRows, 12);
    }

    void targetHoldingAllCodesRefusesEveryRowAndStillCompletes()
    {
        QCOMPARE(run(), Outcome::Completed);
        m_window = FakeRunWindow();
        m_window.target = m_target;
        QCOMPARE(run(), Outcome::Completed);
        QCOMPARE(m_window.messages, QStringList {"Selesai"});
        QCOMPARE(m_window.statusLines.size(), 13); // every row shown, then "Selesai"
        QCOMPARE(m_window.yields, 12);
        QCOMPARE(tableRows(m_target, RozPassword, "tblKemasan").size(), 2);
    }

    void checksRefuseWithoutChangingAnything_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("tickNone");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing ticked") << "@TARGET@" << true << "Tidak ada data yang dipilih.";
        QTest::newRow("empty file name") << "" << false << "Tidak ada file ";
        QTest::newRow("missing file") << "@DIR@/dbVAM.mdb" << false << "Tidak ada file @DIR@/dbVAM.mdb";
        QTest::newRow("folder") << "@DIR@" << false << "Tidak ada file @DIR@";
        QTest::newRow("pattern matching a file is no file")
            << "@DIR@/db*.mdb" << false << "Tidak ada file @DIR@/db*.mdb";
        QTest::newRow("question mark pattern")
            << "@DIR@/dbRO?.mdb" << false << "Tidak ada file @DIR@/dbRO?.mdb";
        QTest::newRow("missing file, named as typed")
            << "C:\\Karsela\\ROZ5\\nothere.mdb" << false << "Tidak ada file C:\\Karsela\\ROZ5\\nothere.mdb";
    }

    void checksRefuseWithoutChangingAnything()
    {
        QFETCH(QString, target);
        QFETCH(bool, tickNone);
        QFETCH(QString, message);
        target.replace(QStringLiteral("@TARGET@"), m_target).replace(QStringLiteral("@DIR@"), m_folder);
        message.replace(QStringLiteral("@DIR@"), m_folder);
        m_window.target = target;
        if (tickNone) {
            for (const auto &category : transfer::codeCategories())
                m_window.unticked << category.tickBoxName;
        }
        const FileSnapshot before = snapshot(m_target);
        QCOMPARE(run(), Outcome::NotStarted);
        QCOMPARE(m_window.messages, QStringList {message});
        QVERIFY(m_window.statusLines.isEmpty());
        QVERIFY(m_window.progressSteps.isEmpty());
        QVERIFY(m_window.bStop);
        QVERIFY(m_window.selectionEnabled && m_window.okEnabled);
        QVERIFY(snapshot(m_target) == before);
    }

    void unopenableTargetIsNamedThenStopped_data()
    {
        QTest::addColumn<QByteArray>("replacement"); // empty: wrong password
        QTest::addColumn<QString>("reason");
        QTest::newRow("another program's password") << QByteArray() << "Password yang dipakai program ini";
        QTest::newRow("not a database") << QByteArray("just text\r\n") << "bukan database";
        QTest::newRow("Access file") << QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(2000, '\0')
                                     << "Microsoft Access";
    }

    void unopenableTargetIsNamedThenStopped()
    {
        QFETCH(QByteArray, replacement);
        QFETCH(QString, reason);
        if (replacement.isEmpty()) {
            QFile::remove(m_target);
            makeTarget(m_target, lorvanta::Program::Soma); // TobakLimer, but not named dbSOMA
        } else {
            writeFile(m_target, replacement);
        }
        const FileSnapshot before = snapshot(m_target);
        m_window.statusLines << QStringLiteral("earlier");
        // The target is opened before the run proper starts: while its
        // failure is told, the window is still idle.
        bool idleAtMessage = false;
        m_window.onMessage = [&] {
            idleAtMessage = m_window.bStop && m_window.selectionEnabled && m_window.okEnabled
                && m_window.progressSteps.isEmpty();
        };
        QCOMPARE(run(), Outcome::Stopped);
        QVERIFY(idleAtMessage);
        QCOMPARE(m_window.messages.size(), 1);
        QVERIFY2(m_window.messages.first().startsWith(
                     QStringLiteral("Database %1 tidak dapat dibuka.\n").arg(m_target)),
                 qPrintable(m_window.messages.first()));
        QVERIFY2(m_window.messages.first().contains(reason), qPrintable(m_window.messages.first()));
        expectStoppedEnding();
        QCOMPARE(m_window.yields, 0);
        QVERIFY(snapshot(m_target) == before);
    }

    void stopRequestIsHonouredWhileRowsAreAccepted()
    {
        m_window.onYield = [&] {
            if (m_window.yields == 4)
                m_window.bStop = true; // Cancel pressed during the fourth row's yield
        };
        QCOMPARE(run(), Outcome::Stopped);
        QVERIFY(m_window.messages.isEmpty());
        QCOMPARE(m_window.yields, 4);
        expectStoppedEnding();
        // Rows stored before the stop are kept.
        QCOMPARE(tableRows(m_target, RozPassword, "tblKemasan").size(), 2);
        QCOMPARE(tableRows(m_target, RozPassword, "tblNegara").size(), 2);
        QCOMPARE(tableRows(m_target, RozPassword, "tblPelDN").size(), 0);
    }

    void stopRequestIsHonouredWhileRowsAreRefused()
    {
        QCOMPARE(run(), Outcome::Completed);
        m_window = FakeRunWindow();
        m_window.target = m_target;
        m_window.onYield = [&] {
            if (m_window.yields == 7)
                m_window.bStop = true;
        };
        QCOMPARE(run(), Outcome::Stopped);
        QCOMPARE(m_window.yields, 7);
        QVERIFY(m_window.messages.isEmpty());
        expectStoppedEnding();
    }

    void stopRequestBetweenCategoriesIsHonoured()
    {
        // Only categories without rows ticked after the first: the check after
        // each category must catch a stop made during the last row.
        m_window.unticked = {"chkNegara", "chkPelDN", "chkPelLN", "chkSatuan"};
        m_window.onYield = [&] { m_window.bStop = m_window.yields == 2; };
        QCOMPARE(run(), Outcome::Stopped);
        QVERIFY(!m_window.statusLines.contains(QStringLiteral("IDR - Rupiah")));
        expectStoppedEnding();
    }

    void somaTargetSkipsForeignPortsButAdvances()
    {
        const QString soma = QDir(m_folder).filePath(QStringLiteral("dbsoma.MDB"));
        makeTarget(soma, lorvanta::Program::Soma);
        // Without a PelLN table in the source, reading it would fail the run.
        CodeLists lists = sampleLists();
        const QString source = QDir(m_folder).filePath(QStringLiteral("NewCodes.mdb"));
        QFile::remove(source);
        makeSource(source, lists, {QStringLiteral("PelLN")});
        m_window.target = soma;
        QCOMPARE(run(), Outcome::Completed);
        QCOMPARE(m_window.messages, QStringList {"Selesai"});
        QCOMPARE(bitsOf(m_window.progressSteps), bitsOf(CompletedProgress));
        QCOMPARE(m_window.yields, 9);
        QCOMPARE(tableRows(soma, SomaPassword, "tblValuta").size(), 1);
    }

    void untickedCategoriesAreNotReadButProgressAdvances()
    {
        m_window.unticked = {"chkKemasan", "chkPelLN", "chkValuta"};
        QCOMPARE(run(), Outcome::Completed);
        QCOMPARE(bitsOf(m_window.progressSteps), bitsOf(CompletedProgress));
        QCOMPARE(m_window.yields, 6);
        QCOMPARE(tableRows(m_target, RozPassword, "tblKemasan").size(), 0);
        QCOMPARE(tableRows(m_target, RozPassword, "tblSatuan").size(), 2);
    }

    void missingSourceTableIsNamedThenStopped()
    {
        const QString source = QDir(m_folder).filePath(QStringLiteral("NewCodes.mdb"));
        QFile::remove(source);
        makeSource(source, sampleLists(), {QStringLiteral("PelDN")});
        QCOMPARE(run(), Outcome::Stopped);
        QCOMPARE(m_window.messages.size(), 1);
        QVERIFY2(m_window.messages.first().startsWith(
                     QStringLiteral("Tabel PelDN di %1 tidak dapat dibaca.\n").arg(source)),
                 qPrintable(m_window.messages.first()));
        expectStoppedEnding();
        QCOMPARE(tableRows(m_target, RozPassword, "tblNegara").size(), 3); // kept
    }

    void unopenableSourceIsNamedThenStopped_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("folder") << "folder";
        QTest::newRow("cut short") << "truncated";
    }

    void unopenableSourceIsNamedThenStopped()
    {
        QFETCH(QString, kind);
        const QString source = QDir(m_folder).filePath(QStringLiteral("NewCodes.mdb"));
        if (kind == QLatin1String("folder")) {
            QFile::remove(source);
            QDir(m_folder).mkdir(QStringLiteral("NewCodes.mdb"));
        } else if (kind == QLatin1String("truncated")) {
            QFile file(source);
            QVERIFY(file.resize(50));
        } else {
            QFile::remove(source);
        }
        QCOMPARE(run(), Outcome::Stopped);
        QCOMPARE(m_window.messages.size(), 1);
        QVERIFY2(m_window.messages.first().startsWith(
                     QStringLiteral("Database %1 tidak dapat dibuka.\n").arg(source)),
                 qPrintable(m_window.messages.first()));
        QCOMPARE(m_window.yields, 0);
        expectStoppedEnding();
    }

    void readOnlyTargetIsNamedThenStopped()
    {
        if (!makeReadOnly(m_target))
            QSKIP("cannot make a file read-only here (chattr missing?)");
        const auto restore = qScopeGuard([&] { makeWritable(m_target); });
        QCOMPARE(run(), Outcome::Stopped);
        QCOMPARE(m_window.messages.size(), 1);
        QVERIFY2(m_window.messages.first().startsWith(
                     QStringLiteral("Gagal menyimpan ke tabel tblKemasan di %1.\n").arg(m_target)),
                 qPrintable(m_window.messages.first()));
        QVERIFY(m_window.messages.first().contains(QStringLiteral("hanya dapat dibaca")));
        QVERIFY(!m_window.messages.contains(QStringLiteral("Selesai")));
        expectStoppedEnding(false);
    }

    void targetMissingATableIsNamedThenStopped()
    {
        // A VAM database made without its foreign ports table.
        QFile::remove(m_target);
        makeDatabase(m_target, RozPassword,
                     {lorvanta::createReferenceTableStatement("tblKemasan"),
                      lorvanta::createReferenceTableStatement("tblNegara"),
                      lorvanta::createReferenceTableStatement("tblPelDN")});
        QCOMPARE(run(), Outcome::Stopped);
        const QString message = m_window.messages.value(0);
        // Only the administrator can mend it: Ok meets the same tables.
        QVERIFY2(m_window.messages.size() == 1
                     && message.startsWith(
                         QStringLiteral("Gagal menyimpan ke tabel tblPelLN di %1.\n").arg(m_target))
                     && message.contains("\nMinta administrator") && !message.contains("menolak")
                     && !message.contains("Ok aman"),
                 qPrintable(message));
        QCOMPARE(tableRows(m_target, RozPassword, "tblPelDN").size(), 1); // kept
        expectStoppedEnding();
        // Without rows for them, the missing tables are never looked at.
        QFile::remove(source());
        makeSource(source(), {{"Kemasan", {{"BX", "Box"}}}});
        QCOMPARE(run(), Outcome::Completed);
    }

    // Relative to the test folder, which is also the Wine prefix.
    void pathsThatReachTheTarget_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("typed"); // empty: the file's own path
        QTest::newRow("separators and quotes") << "a;b 'c' \"d\" Ünïcode/x;Password=y';dbROZ.mdb"
                                               << "";
        QTest::newRow("Windows path in other case") << "drive_c/Karsela/ROZ5/dbROZ.mdb"
                                                    << "c:\\KARSELA/roz5\\DBROZ.MDB";
    }

    void pathsThatReachTheTarget()
    {
        QFETCH(QString, file);
        QFETCH(QString, typed);
        const QString target = QDir(m_folder).filePath(file);
        QVERIFY(QDir().mkpath(QFileInfo(target).path()));
        makeTarget(target, lorvanta::Program::Roz);
        const QByteArray prefixBefore = qgetenv("WINEPREFIX");
        const auto restore = qScopeGuard([&] { qputenv("WINEPREFIX", prefixBefore); });
        qputenv("WINEPREFIX", QFile::encodeName(m_folder));
        m_window.target = typed.isEmpty() ? target : typed;
        QCOMPARE(run(), Outcome::Completed);
        QCOMPARE(tableRows(target, RozPassword, "tblValuta").size(), 1);
    }

    void connectionStringIsWrittenAsTheProgramsWrite()
    {
        QCOMPARE(
            TransferRun::connectionStringFor(QStringLiteral("C:\\Karsela\\ROZ5\\dbROZ.mdb"), RozPassword),
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Karsela\\ROZ5\\dbROZ.mdb;"
                           "Jet OLEDB:Database Password=GorvanPelikMiro;"));
    }

private:
    Outcome run() { return TransferRun(m_window, transfer::newCodesPath(m_folder)).run(); }

    QString source() const { return QDir(m_folder).filePath(QStringLiteral("NewCodes.mdb")); }

    void expectStoppedEnding(bool targetWritable = true)
    {
        QCOMPARE(m_window.progress, 0.0f);
        QCOMPARE(m_window.statusLines.last(), QStringLiteral("Proses dibatalkan"));
        QVERIFY(m_window.bStop);
        QVERIFY(m_window.selectionEnabled);
        QVERIFY(m_window.okEnabled);
        QCOMPARE(m_window.cancelCaption, QStringLiteral("Cancel"));
        // Everything released: another program can lock both files at once.
        if (QFileInfo(source()).isFile())
            QVERIFY(isReleased(source()));
        if (targetWritable && QFileInfo(m_window.target).isFile())
            QVERIFY(isReleased(m_window.target));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
    QString m_target;
    FakeRunWindow m_window;
    bool m_releasedAtMessage = false;
};

QTEST_GUILESS_MAIN(TestTransferRun)
#include "tst_transferrun.moc"
