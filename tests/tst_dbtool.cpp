#include "dataaccess/sqltext.h"
#include "testdatabases.h"
#include "transfer/codecategory.h"

#include <csignal>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace testsupport;

namespace {

struct ToolResult
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Standard output a pipe whose reader has gone.
void closedPipeAsOutput()
{
    int ends[2];
    if (::pipe(ends) == 0 && ::dup2(ends[1], STDOUT_FILENO) >= 0)
        ::close(ends[0]);
}

ToolResult runTool(QStringList arguments)
{
    QProcess tool;
    if (arguments.removeAll(QStringLiteral("@OUT-FULL@")) > 0)
        tool.setStandardOutputFile(QStringLiteral("/dev/full"));
    if (arguments.removeAll(QStringLiteral("@OUT-CLOSED@")) > 0)
        tool.setChildProcessModifier(closedPipeAsOutput);
    tool.start(builtProgram(QStringLiteral("valdoren-db")), arguments);
    if (!tool.waitForFinished(60000))
        return {};
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1, tool.readAllStandardOutput(),
            tool.readAllStandardError()};
}

const QByteArray Header = "Kode,Uraian\r\n";

// The six input lists, each with its header and the given body, else a code.
void writeLists(const QString &folder, const QMap<QString, QByteArray> &bodies = {})
{
    for (const QString &table : lorvanta::sourceTables())
        writeFile(QDir(folder).filePath(table + QStringLiteral(".csv")),
                  Header + bodies.value(table, "C1,One\r\n"));
}

} // namespace

class TestDbTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }

    void sourceRoundTripsThroughDump()
    {
        const QString folder = m_dir.filePath(QStringLiteral("lists"));
        QDir().mkpath(folder);
        const QMap<QString, QByteArray> bodies = {
            {"Kemasan", "BX,Box\r\n"},
            {"Negara", "CI,C\xC3\xB4te d'Ivoire\r\nBQ,\"Bonaire, Sint Eustatius and Saba\"\r\nXX,\r\n"},
            {"PelLN", "NLRTM,Rotterdam\r\nNLRTM,Rotterdam\r\n"}, // kept twice: no key in a source
            {"PelDN", "IDJKT,\"Jakarta, Java\"\r\n"},
            {"Satuan", "\"a\"\"b\",\"two\r\nlines\"\r\nS,\xE2\x98\x83\r\n"},
            {"Valuta", "IDR,Rupiah\r\n"},
        };
        writeLists(folder, bodies);
        const QString path = m_dir.filePath(QStringLiteral("NewCodes.mdb"));
        const ToolResult created = runTool({"create-source", path, "--from", folder});
        QCOMPARE(created.err, QByteArray());
        QCOMPARE(created.exitCode, 0);

        for (const QString &table : lorvanta::sourceTables()) {
            const ToolResult dumped = runTool({"dump", path, table});
            QCOMPARE(dumped.exitCode, 0);
            QCOMPARE(dumped.out, Header + bodies.value(table));
        }
    }

    // The shipped NewCodes.mdb holds the lists of data/ exactly, and those
    // are the whole standards.
    void shippedNewCodesHoldsTheLists()
    {
        const QString shipped = builtProgram(QStringLiteral("NewCodes.mdb"));
        QMap<QString, QByteArray> dumped;
        for (const QString &table : lorvanta::sourceTables()) {
            QFile expected(QDir(QStringLiteral(VALDOREN_DATA_DIR)).filePath(table + QStringLiteral(".csv")));
            QVERIFY(expected.open(QIODevice::ReadOnly));
            dumped[table] = runTool({"dump", shipped, table}).out;
            QCOMPARE(dumped[table], expected.readAll());
        }
        // The codes declarations name: airports, border posts and a port of
        // unknown function, deleted units and Indonesia's own, the newest currencies.
        const QMap<QString, QStringList> named = {{"PelDN", {"IDCGK", "IDETK", "IDTPP", "IDPAP"}},
                                                  {"PelLN", {"GBLHR", "CNSHA", "MYKUL"}},
                                                  {"Satuan", {"RO", "CT", "PCE", "NMB", "MID", "LNT", "DBC"}},
                                                  {"Kemasan", {"SX"}},
                                                  {"Valuta", {"XCG", "ZWG"}}};
        for (auto list = named.cbegin(); list != named.cend(); ++list) {
            for (const QString &code : *list)
                QVERIFY2(dumped[list.key()].contains("\r\n" + code.toUtf8() + ','), qPrintable(code));
        }
        QVERIFY(!dumped["Valuta"].contains("\r\nBGN,") && !dumped["Valuta"].contains("\r\nHRK,"));
        // Made again, at another time, the same lists give the same bytes,
        // with no more saves counted in the header than a source of one row.
        const QString again = m_dir.filePath(QStringLiteral("again.mdb"));
        const QString small = m_dir.filePath(QStringLiteral("small.mdb"));
        QCOMPARE(runTool({"create-source", again, "--from", VALDOREN_DATA_DIR}).exitCode, 0);
        makeSource(small, {{"Negara", {{"ID", "Indonesia"}}}});
        QCOMPARE(snapshot(again).bytes, snapshot(shipped).bytes);
        QCOMPARE(snapshot(again).bytes.mid(24, 4), snapshot(small).bytes.mid(24, 4));
    }

    void createTargetMakesTheProgramsTables_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("hasForeignPorts");
        QTest::newRow("ROZ") << "ROZ"
                             << "GorvanPelikMiro" << true;
        QTest::newRow("VAM") << "VAM"
                             << "GorvanPelikMiro" << true;
        QTest::newRow("LUG") << "LUG"
                             << "GorvanPelikMiro" << true;
        QTest::newRow("SOMA") << "SOMA"
                              << "TobakLimer" << false;
    }

    void createTargetMakesTheProgramsTables()
    {
        QFETCH(QString, program);
        QFETCH(QString, password);
        QFETCH(bool, hasForeignPorts);
        const QString path = m_dir.filePath(QStringLiteral("db%1.mdb").arg(program));
        QCOMPARE(runTool({"create-target", path, "--program", program}).exitCode, 0);

        for (const char *table : {"tblKemasan", "tblNegara", "tblPelDN", "tblSatuan", "tblValuta"}) {
            const ToolResult dumped = runTool({"dump", path, table, "--password", password});
            QCOMPARE(dumped.exitCode, 0);
            QCOMPARE(dumped.out, QByteArray("KdEdi,Uredi,TglRekam\r\n"));
        }
        const ToolResult foreign = runTool({"dump", path, "tblPelLN", "--password", password});
        QCOMPARE(foreign.exitCode == 0, hasForeignPorts);
        const QString source = builtProgram(QStringLiteral("NewCodes.mdb")); // where a source belongs
        for (const QStringList &command : QList<QStringList> {{"dump", path, "tblNegara"},
                                                              {"changes", source, path},
                                                              {"compare", path, path},
                                                              {"transfer", path, path}})
            QVERIFY(runTool(command).err.contains(path.toUtf8() + " is a Lorvanta database, not a source"));
        QVERIFY(runTool({"dump", path, "tblNegara", "--password", password.toLower()}).exitCode != 0);
    }

    // Bad input: one line on stderr, non-zero exit, no file left behind.
    void badInputIsRefusedCleanly_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("brokenList");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no command") << QStringList {} << QByteArray() << "no command";
        QTest::newRow("unknown command, escaped") << QStringList {"frob\x1b\x7f\u202e"} << QByteArray()
                                                  << "unknown command \"frob\\x1b\\x7f\\u202e\"";
        QTest::newRow("unknown program") << QStringList {"create-target", "@OUT@", "--program", "roz"}
                                         << QByteArray() << "unknown program";
        QTest::newRow("program missing") << QStringList {"create-target", "@OUT@"} << QByteArray()
                                         << "--program is required; usage: valdoren-db create-target PATH";
        QTest::newRow("unknown option")
            << QStringList {"create-target", "@OUT@", "--colour", "x"} << QByteArray()
            << "unknown option 'colour'; usage: valdoren-db create-target";
        QTest::newRow("option without value")
            << QStringList {"create-source", "@OUT@", "--from"} << QByteArray()
            << "missing value after '--from'; usage: valdoren-db create-source";
        QTest::newRow("--from missing") << QStringList {"create-source", "@OUT@"} << QByteArray()
                                        << "--from is required; usage: valdoren-db create-source";
        QTest::newRow("an argument too many")
            << QStringList {"dump", "@OUT@", "Negara", "Satuan"} << QByteArray()
            << "unexpected argument \"Satuan\"; usage: valdoren-db dump";
        QTest::newRow("--only without value")
            << QStringList {"transfer", "@DIR@/none.mdb", "@OUT@", "--only"} << QByteArray()
            << "missing value after '--only'; usage: valdoren-db transfer";
        QTest::newRow("missing input folder")
            << QStringList {"create-source", "@OUT@", "--from", "@DIR@/nowhere"} << QByteArray()
            << "not a folder";
        QTest::newRow("wrong header") << QStringList {"create-source", "@OUT@", "--from", "@LISTS@"}
                                      << QByteArray("Code,Name\r\n") << "Negara.csv:1:";
        QTest::newRow("three fields") << QStringList {"create-source", "@OUT@", "--from", "@LISTS@"}
                                      << QByteArray("Kode,Uraian\r\nID,Indonesia\r\nMY,Malay,sia\r\n")
                                      << "Negara.csv:3: expected 2 fields";
        QTest::newRow("broken quote")
            << QStringList {"create-source", "@OUT@", "--from", "@LISTS@"}
            << QByteArray("Kode,Uraian\r\nID,\"Indo\r\n") << "Negara.csv:2: quoted field not closed";
        QTest::newRow("empty list file") << QStringList {"create-source", "@OUT@", "--from", "@LISTS@"}
                                         << QByteArray("") << "Negara.csv: the file is empty";
        const QStringList fromLists = {"create-source", "@OUT@", "--from", "@LISTS@"};
        QTest::newRow("header alone") << fromLists << Header << "Negara.csv: the list has no entries";
        QTest::newRow("a row without a code") << fromLists << Header + "ID,\r\n,Nowhere\r\n"
                                              << "Negara.csv:3: the code (Kode) is empty";
        QTest::newRow("a code of one space") << fromLists << Header + "ID,\r\n ,Nowhere\r\n"
                                             << "Negara.csv:3: the code (Kode) is blank";
        QTest::newRow("a code with a trailing blank")
            << fromLists << Header + "ID ,Indonesia\r\n"
            << "Negara.csv:2: the code (Kode) \"ID \" begins or ends";
        QTest::newRow("over 64 MB") << fromLists << QByteArray("@BIG@")
                                    << "Negara.csv: larger than any code list";
        QTest::newRow("a device as a UN/LOCODE file")
            << fromLists + QStringList {"--locode", "/dev/zero"} << Header + "ID,\r\n"
            << "/dev/zero: not an ordinary file";
        QTest::newRow("output folder missing")
            << QStringList {"create-target", "@DIR@/nowhere/x.mdb", "--program", "ROZ"} << QByteArray()
            << "folder does not exist";
        QTest::newRow("dump of a missing file")
            << QStringList {"dump", "@DIR@/none.mdb", "tblNegara"} << QByteArray() << "does not exist";
        QTest::newRow("changes without the new source")
            << QStringList {"changes", "@DIR@/none.mdb", "--list"} << QByteArray()
            << "missing arguments; usage: valdoren-db changes OLD NEW [--list]";
        QTest::newRow("changes of a file that is missing")
            << QStringList {"changes", "@DIR@/none.mdb", "@DIR@/none.mdb"} << QByteArray()
            << "does not exist";
        for (const char *command : {"dump @NEWCODES@ PelLN", "changes @NEWCODES@ @NEWCODES@"})
            QTest::addRow("%s into a closed pipe", command)
                << QString(command + QStringLiteral(" @OUT-CLOSED@")).split(' ') << QByteArray()
                << "cannot be written (Broken pipe)";
        QTest::newRow("dump to a full disk") << QStringList {"dump", "@NEWCODES@", "Negara", "@OUT-FULL@"}
                                             << QByteArray() << "standard output cannot be written";
        QTest::newRow("transfer of an unknown category")
            << QStringList {"transfer", "@DIR@/none.mdb", "@OUT@", "--only", "Negara,Ports"} << QByteArray()
            << "unknown category \"Ports\"";
        QTest::newRow("transfer without a target")
            << QStringList {"transfer", "@DIR@/none.mdb"} << QByteArray()
            << "missing arguments; usage: valdoren-db transfer";
        QTest::newRow("transfer after --, a target named as an option")
            << QStringList {"transfer", "--", "@DIR@/none.mdb", "--only"} << QByteArray()
            << "none.mdb: the file does not exist";
        QTest::newRow("transfer --only naming no category")
            << QStringList {"transfer", "@NEWCODES@", "@OUT@", "--only", ""} << QByteArray()
            << "--only names no category";
        QTest::newRow("transfer lines to a full disk")
            << QStringList {"transfer", "@NEWCODES@", "@OUT@", "@OUT-FULL@"} << QByteArray()
            << "cannot be written";
        QTest::newRow("transfer from a source that cannot be opened")
            << QStringList {"transfer", "@DIR@/none.mdb", "@OUT@"} << QByteArray()
            << "none.mdb: the file does not exist";
    }

    void badInputIsRefusedCleanly()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, brokenList);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString lists = dir.filePath(QStringLiteral("lists"));
        QDir().mkpath(lists);
        writeLists(lists);
        writeFile(QDir(lists).filePath(QStringLiteral("Negara.csv")), brokenList);
        if (brokenList == "@BIG@") // sparse: above the bound at once
            QVERIFY(QFile(QDir(lists).filePath(QStringLiteral("Negara.csv"))).resize((64 << 20) + 1));
        for (QString &argument : arguments) {
            argument.replace(QStringLiteral("@OUT@"), dir.filePath(QStringLiteral("out.mdb")));
            argument.replace(QStringLiteral("@LISTS@"), lists);
            argument.replace(QStringLiteral("@DIR@"), dir.path());
            argument.replace(QStringLiteral("@NEWCODES@"), builtProgram(QStringLiteral("NewCodes.mdb")));
        }
        const ToolResult result = runTool(arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.err.startsWith("valdoren-db: "), result.err.constData());
        QVERIFY2(QString::fromUtf8(result.err).contains(expected), result.err.constData());
        QCOMPARE(result.err.count('\n'), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void portsComeFromLocodeFiles()
    {
        const QString folder = m_dir.filePath(QStringLiteral("locode-lists"));
        QDir().mkpath(folder);
        writeLists(folder,
                   {{"Negara", "ID,Indonesia\r\n"},
                    {"PelDN", "IDXXX,never read\r\n"},
                    {"PelLN", "XXXXX,never read\r\n"}});
        const QString first = m_dir.filePath(QStringLiteral("ID.csv"));
        writeFile(
            first,
            ",\"ID\",,\".INDONESIA\",,,,,,,,\n"
            ",\"ID\",\"JKT\",\"Jakarta, Java\",\"Jakarta, "
            "Java\",\"JK\",\"12345---\",\"AI\",\"0407\",,\"0608S 10650E\",\n"
            ",\"ID\",\"5BA\",\"Bayah\",\"Bayah\",\"JB\",\"--3-----\",\"RL\",\"1701\",,,\n"
            ",\"ID\",\"UNK\",\"Unknown\",\"Unknown\",,\"0-------\",\"RQ\",\"1701\",,,\n"
            ",\"ID\",\"SKU\",\"Skouw\",\"Skouw\",\"PA\",\"-------B\",\"AM\",\"2307\",,,\n"
            "\"X\",\"ID\",\"OLD\",\"Gone\",\"Gone\",,\"1-------\",\"XX\",\"2307\",,,\n"
            "\"x\",\"ID\",\"OLX\",\"Gone\",\"Gone\",,\"1-------\",\"XX\",\"2307\",,,\n"
            ",\"ID\",,\"Bitung = ID BIT\",\"Bitung = ID BIT\",,\"1-------\",\"AF\",\"9506\",,,\n"
            "\"+\",\"ID\",\"BPN\",\"Balikpapan\",\"Balikpapan\",\"KI\",\"1-3-----\",\"AI\",\"0001\",,,\n"
            "\n"); // a blank line after the last entry, as editors leave one
        const QString second = m_dir.filePath(QStringLiteral("NL.csv"));
        writeFile(second, // ISO 8859-1, as UNECE publishes; a code under a second name
                  ",\"NL\",\"RTM\",\"Rotterdam\",\"Rotterdam\",\"ZH\",\"12345---\",\"AF\",\"0501\",,,\r\n"
                  ",\"NL\",\"RTM\",\"Rotterdam (Europoort)\",,\"ZH\",\"12345---\",\"AF\",\"0501\",,,\r\n"
                  ",\"FR\",\"SET\",\"S\xE8te\",\"Sete\",\"34\",\"1-------\",\"AI\",\"0001\",,,\r\n"
                  ",\"GB\",\"LHR\",\"London\x96Heathrow\",,,\"---4----\",\"AI\",\"0001\",,,\r\n"
                  ",\"GB\",\"RDG\",\"Reading\",,,\"-23-----\",\"AI\",\"0001\",,,\r\n"
                  ",\"CI\",\"ABJ\",\"Abidjan\",\"Abidjan\",,\"1--45---\",\"AI\",\"0001\",,,\r\n");
        const QString third = m_dir.filePath(QStringLiteral("TH.csv")); // its first line marked, after a BOM
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        writeFile(third,
                  utf16(QStringLiteral("X,TH,OLD,,,,1-------,,,,,\r\n"
                                       ",TH,BKK,Krung\u0096Thep,,,---4----,,,,,\r\n")));
        const QString path = m_dir.filePath(QStringLiteral("locode.mdb"));
        const ToolResult created = runTool({"create-source", path, "--from", folder, "--locode", first,
                                            "--locode", second, "--locode", third});
        QCOMPARE(created.err, QByteArray());
        QCOMPARE(created.exitCode, 0);
        QCOMPARE(runTool({"dump", path, "PelDN"}).out,
                 Header
                     + "IDJKT,\"Jakarta, Java\"\r\nID5BA,Bayah\r\nIDUNK,Unknown\r\n"
                       "IDSKU,Skouw\r\nIDBPN,Balikpapan\r\n");
        QCOMPARE(runTool({"dump", path, "PelLN"}).out,
                 Header
                     + "NLRTM,Rotterdam\r\nFRSET,S\xC3\xA8te\r\nGBLHR,London\xE2\x80\x93Heathrow\r\n"
                       "CIABJ,Abidjan\r\nTHBKK,Krung\xE2\x80\x93Thep\r\n");
        QCOMPARE(runTool({"dump", path, "Negara"}).out, Header + "ID,Indonesia\r\n");
    }

    void malformedLocodeLineNamesFileAndLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        const QByteArray good
            = ",\"NL\",\"RTM\",\"Rotterdam\",\"Rotterdam\",\"ZH\",\"12345---\",\"AF\",\"0501\",,,\n";
        QTest::newRow("too few fields") << good + ",\"NL\",\"AMS\",\"Amsterdam\"\n"
                                        << ":2: expected 12 fields";
        QTest::newRow("broken quote") << good + good + ",\"NL\",\"A\"MS\",,,,,,,,,\n"
                                      << ":3: text after the closing quote";
        QTest::newRow("location of four characters")
            << good + ",\"NL\",\"RTMX\",\"Rotterdam\",,,\"1-------\",,,,,\n"
            << ":2: \"NL\" \"RTMX\" is no country and location code";
        QTest::newRow("port without country") << good + ",,\"XYZ\",\"Nowhere\",,,\"1-------\",,,,,\n"
                                              << ":2: \"\" \"XYZ\" is no country and location code";
        QTest::newRow("a header line")
            << "Change,Country,Location,Name,NameWoDiacritics,Subdivision,Function,Status,Date,IATA,"
               "Coordinates,Remarks\n"
                + good
            << ":1: \"Country\" \"Location\" is no country and location code (read as UTF-8)";
        QTest::newRow("Status before Function")
            << good + ",\"NL\",\"AMS\",\"Amsterdam\",\"Amsterdam\",\"NH\",\"AF\",\"12345---\",\"0501\",,,\n"
            << ":2: not a line of a UN/LOCODE code list: Function \"AF\" is not eight of 0-9, B and -";
        QTest::newRow("ISO 8859-1, a field missing")
            << good + ",\"FR\",\"SET\",\"S\xE8te\"\n"
            << ":2: expected 12 fields, found 4 (read as Windows-1252)";
        // More of encodings and marks in tst_csv.
        QTest::newRow("one ISO 8859-1 line in UTF-8")
            << good + ",\"BR\",\"SSZ\",\"S\xC3\xA3o\",,,,,,,,\n" + ",\"FR\",\"SET\",\"S\xE8te\",,,,,,,,\n"
            << ":3: this line is not UTF-8, line 2 is: a file must be wholly";
        for (const QByteArray &broken : {QByteArray("\xFF\xFEX\0\0\xD8", 6), QByteArray("\xFE\xFF\0X\0", 5)})
            QTest::addRow("UTF-16 broken, %lld bytes", static_cast<long long>(broken.size()))
                << broken << ": not UTF-16, as the file's byte-order mark says it is";
        QTest::newRow("a byte that Windows-1252 leaves out")
            << good + ",\"FR\",\"SET\",\"S\x81te\",,,\"1-------\",,,,,\n"
            << ":2: control character U+0081, which is no character of Windows-1252 either";
        QTest::newRow("no entry") << QByteArray() << ": the file is empty, no entry";
        QTest::newRow("no port in Indonesia") << good << "give no port in Indonesia (PelDN)";
        QTest::newRow("no port abroad") << QByteArray(",\"ID\",\"JKT\",\"Jakarta\",,,\"1-------\",,,,,\n")
                                        << "give no port abroad (PelLN)";
        QTest::newRow("an entry abroad without a name") << good + ",\"NL\",\"AMS\",,,,\"1-------\",,,,,\n"
                                                        << ":2: NLAMS has no name (Name)";
    }

    void malformedLocodeLineNamesFileAndLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        writeLists(dir.path());
        const QString locode = dir.filePath(QStringLiteral("NL.csv"));
        writeFile(locode, content);
        const QString path = dir.filePath(QStringLiteral("out.mdb"));
        const ToolResult result = runTool({"create-source", path, "--from", dir.path(), "--locode", locode});
        QVERIFY(result.exitCode > 0);
        const QString named = expected.startsWith(QLatin1Char(':')) ? locode + expected : expected;
        QVERIFY2(QString::fromUtf8(result.err).contains(named), result.err.constData());
        QVERIFY(!QFile::exists(path));
    }

    void officialLocodeCorpusBuilds()
    {
        const QDir corpus(QStringLiteral(VALDOREN_UNLOCODE_DIR));
        const QStringList files = corpus.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
        if (files.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no UN/LOCODE lists in %1").arg(corpus.path())));
        QStringList arguments = {"create-source", m_dir.filePath(QStringLiteral("unlocode.mdb")), "--from",
                                 QStringLiteral(VALDOREN_DATA_DIR)};
        for (const QString &file : files)
            arguments << QStringLiteral("--locode") << corpus.filePath(file);
        const ToolResult created = runTool(arguments);
        QCOMPARE(created.err, QByteArray());
        QCOMPARE(created.exitCode, 0);

        // The shipped port lists are exactly what this reading gives.
        for (const QString &table : {QStringLiteral("PelDN"), QStringLiteral("PelLN")}) {
            QFile shipped(QDir(QStringLiteral(VALDOREN_DATA_DIR)).filePath(table + QStringLiteral(".csv")));
            QVERIFY(shipped.open(QIODevice::ReadOnly));
            QCOMPARE(runTool({"dump", arguments.at(1), table}).out, shipped.readAll());
        }
    }

    // compare tells what a run left, reads without changing either file, also
    // while another program is writing to the target.
    void compareTellsWhatARunLeft_data()
    {
        QTest::addColumn<QString>("targetName");
        QTest::addColumn<QStringList>("stored"); // "table|code|description"
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines"); // in the output, or the error
        const QString longName = QStringLiteral("Republic of a Name Longer Than Forty Letters");
        const QStringList complete
            = {"tblKemasan|BX|Box", "tblKemasan|CT|Carton", "tblNegara|CI|Côte d'Ivoire",
               "tblNegara|ZZ|" + longName.left(40), "tblPelLN|NLRTM|Rotterdam"};
        QTest::newRow("nothing stored")
            << "dbROZ.mdb" << QStringList() << QStringList() << 1
            << QStringList {
                   "Kemasan -> tblKemasan: 2 in the source, 0 present, 2 missing, 0 with another description",
                   "total: 5 in the source, 0 present, 5 missing, 0 with another description"};
        QTest::newRow("all stored, names as cut")
            << "dbROZ.mdb" << complete << QStringList() << 0
            << QStringList {
                   "Negara -> tblNegara: 2 in the source, 2 present, 0 missing, 0 with another description",
                   "PelDN -> tblPelDN: 0 in the source, 0 present, 0 missing, 0 with another description",
                   "total: 5 in the source, 5 present, 0 missing, 0 with another description"};
        QTest::newRow("a name not cut, a code missing")
            << "dbVAM.mdb"
            << QStringList {"tblKemasan|BX|Box again", "tblNegara|CI|Côte d'Ivoire",
                            "tblNegara|ZZ|" + longName}
            << QStringList() << 1
            << QStringList {
                   "Kemasan -> tblKemasan: 2 in the source, 1 present, 1 missing, 1 with another description",
                   "Negara -> tblNegara: 2 in the source, 2 present, 0 missing, 1 with another description",
                   "total: 5 in the source, 3 present, 2 missing, 2 with another description"};
        QTest::newRow("the same, listed")
            << "dbVAM.mdb"
            << QStringList {"tblKemasan|BX|Box again", "tblNegara|CI|Côte d'Ivoire",
                            "tblNegara|ZZ|" + longName}
            << QStringList {"--list"} << 1
            << QStringList {"Kemasan -> tblKemasan: 2 in the source, 1 present, 1 missing, 1 with another "
                            "description\n  + CT Carton\n  ~ BX Box again -> Box\nNegara",
                            "1 with another description\n  ~ ZZ " + longName + " -> " + longName.left(40)
                                + "\nPelDN",
                            "PelLN -> tblPelLN: 1 in the source, 0 present, 1 missing, 0 with another "
                            "description\n  + NLRTM Rotterdam\nSatuan"};
        QTest::newRow("SOMA keeps no foreign ports")
            << "dbSOMA.mdb" << complete.mid(0, 4) << QStringList() << 0
            << QStringList {"PelLN -> tblPelLN: not compared, a SOMA database keeps no foreign ports",
                            "total: 4 in the source, 4 present, 0 missing, 0 with another description"};
        QTest::newRow("while another program writes")
            << "dbROZ.mdb" << complete << QStringList {"@WRITER@"} << 0
            << QStringList {"total: 5 in the source, 5 present, 0 missing, 0 with another description"};
        QTest::newRow("another password")
            << "dbROZ.mdb" << QStringList() << QStringList {"--password", "TobakLimer"} << 2
            << QStringList {"does not match it"};
    }

    void compareTellsWhatARunLeft()
    {
        QFETCH(QString, targetName);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("NewCodes.mdb"));
        // Every row as the run meets them: a code twice (the first counts), a
        // name over its category's limit.
        makeSource(
            source,
            {{"Kemasan", {{"BX", "Box"}, {"CT", "Carton"}, {"BX", "Box again"}}},
             {"Negara", {{"CI", "Côte d'Ivoire"}, {"ZZ", "Republic of a Name Longer Than Forty Letters"}}},
             {"PelLN", {{"NLRTM", "Rotterdam"}}}});
        const QString target = dir.filePath(targetName);
        const auto program
            = transfer::isSomaTarget(target) ? lorvanta::Program::Soma : lorvanta::Program::Roz;
        makeTarget(target, program);
        storeRows(target, lorvanta::databasePassword(program), stored);

        QProcess writer;
        if (options.removeAll(QStringLiteral("@WRITER@")) > 0) {
            writer.start(builtProgram(QStringLiteral("dbhelper")), {QStringLiteral("write"), target});
            QVERIFY(writer.waitForReadyRead(10000));
            QCOMPARE(writer.readLine().trimmed(), QByteArray("locked"));
        }
        const FileSnapshot sourceBefore = snapshot(source);
        const FileSnapshot targetBefore = snapshot(target);
        const ToolResult result = runTool(QStringList {"compare", source, target} + options);
        writer.closeWriteChannel();
        writer.waitForFinished(10000);

        QCOMPARE(result.exitCode, exitCode);
        const QString shown = QString::fromUtf8(exitCode == 2 ? result.err : result.out);
        for (const QString &line : lines)
            QVERIFY2(shown.contains(line), qPrintable(shown));
        const qsizetype listed = options.contains(QStringLiteral("--list"))
            ? lines.join(QString()).count(QStringLiteral("\n  "))
            : 0;
        QCOMPARE(shown.count(QLatin1Char('\n')), exitCode == 2 ? 1 : 7 + listed);
        QVERIFY(snapshot(source) == sourceBefore);
        QVERIFY(snapshot(target) == targetBefore);
    }

    // changes: what a new source brings against an old one, for an
    // administrator deciding on a release.
    void changesTellWhatANewSourceBrings_data()
    {
        QTest::addColumn<QStringList>("sources"); // OLD and NEW, of "before" and "after"
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        const QByteArray unchanged = "PelDN: 0 added, 0 withdrawn, 0 changed\n"
                                     "PelLN: 0 added, 0 withdrawn, 0 changed\n"
                                     "Satuan: 0 added, 0 withdrawn, 0 changed\n";
        QTest::newRow("a release, listed") << QStringList {"before", "after"} << QStringList {"--list"} << 1
                                           << "Kemasan: 0 added, 0 withdrawn, 1 changed\n"
                                              "  ~ CT Carton -> Carton\\x0d\\x0abox\\u202e\\u2029\\x85\n"
                                              "Negara: 1 added, 0 withdrawn, 0 changed\n"
                                              "  + ID Indonesia\n"
                + unchanged
                + "Valuta: 1 added, 1 withdrawn, 0 changed\n"
                  "  + ZWG Zimbabwe Gold\n"
                  "  - HRK Kuna\n"
                  "total: 2 added, 1 withdrawn, 1 changed\n";
        QTest::newRow("the other way, counted") << QStringList {"after", "before"} << QStringList() << 1
                                                << "Kemasan: 0 added, 0 withdrawn, 1 changed\n"
                                                   "Negara: 0 added, 1 withdrawn, 0 changed\n"
                + unchanged
                + "Valuta: 1 added, 1 withdrawn, 0 changed\n"
                  "total: 1 added, 2 withdrawn, 1 changed\n";
        QTest::newRow("the same codes") << QStringList {"after", "after"} << QStringList {"--list"} << 0
                                        << "Kemasan: 0 added, 0 withdrawn, 0 changed\n"
                                           "Negara: 0 added, 0 withdrawn, 0 changed\n"
                + unchanged
                + "Valuta: 0 added, 0 withdrawn, 0 changed\n"
                  "total: 0 added, 0 withdrawn, 0 changed\n";
    }

    void changesTellWhatANewSourceBrings()
    {
        QFETCH(QStringList, sources);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QTemporaryDir dir;
        // A code given twice counts with its first description, as a run stores it.
        const QMap<QString, CodeLists> lists
            = {{"before",
                {{"Kemasan", {{"BX", "Box"}, {"CT", "Carton"}}},
                 {"Negara", {{"CI", "Côte d'Ivoire"}}},
                 {"Valuta", {{"HRK", "Kuna"}, {"IDR", "Rupiah"}}}}},
               {"after",
                {{"Kemasan", {{"BX", "Box"}, {"CT", "Carton\r\nbox\u202e\u2029\u0085"}}},
                 {"Negara", {{"CI", "Côte d'Ivoire"}, {"ID", "Indonesia"}, {"ID", "Again"}}},
                 {"Valuta", {{"IDR", "Rupiah"}, {"ZWG", "Zimbabwe Gold"}}}}}};
        for (auto list = lists.cbegin(); list != lists.cend(); ++list)
            makeSource(dir.filePath(list.key()), *list);
        const ToolResult result = runTool(
            QStringList {"changes", dir.filePath(sources.at(0)), dir.filePath(sources.at(1))} + options);
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.out, output);
        QCOMPARE(result.exitCode, exitCode);
    }

    // transfer: the window's run on each target in turn. A target is
    // "file|program|trigger"; no program: no file. @DIR@ is the folder.
    void transferRunsEachTargetAsTheWindowWould_data()
    {
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("stopSignal"); // sent once the first target's line is out
        QTest::addColumn<QStringList>("outcomes"); // how each target's line ends
        QTest::addColumn<int>("exitStatus");
        QTest::newRow("one refused, a code there already rolling back, one after another")
            << QStringList {"dbROZ.mdb|ROZ", "dbVAM.mdb|SOMA", "dbLUG.mdb|LUG|rollback"} << QStringList() << 0
            << QStringList {"Selesai",
                            "tidak dapat dibuka. Password yang dipakai program ini untuk database dengan "
                            "nama ini tidak "
                            "cocok dengannya. Pilih database program Lorvanta (dbROZ.mdb, dbVAM.mdb, "
                            "dbLUG.mdb "
                            "atau dbSOMA.mdb) dengan nama aslinya.",
                            "Selesai"}
            << 1;
        QTest::newRow("the source given as the target") << QStringList {"NewCodes.mdb|"} << QStringList() << 0
                                                        << QStringList {"dengan nama aslinya."} << 1;
        QTest::newRow("--only, a missing target")
            << QStringList {"dbROZ.mdb|ROZ", "gone/dbVAM.mdb|"} << QStringList {"--only", "Kemasan,Valuta"}
            << 0 << QStringList {"Selesai", "Tidak ada file @DIR@/gone/dbVAM.mdb"} << 1;
        QTest::newRow("--password for every target") << QStringList {"dbVAM.mdb|VAM", "dbSOMA.mdb|SOMA"}
                                                     << QStringList {"--password", "GorvanPelikMiro"} << 0
                                                     << QStringList {"Selesai", "dengan nama aslinya."} << 1;
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            const QString name = QStringLiteral("SIG") + QLatin1String(sigabbrev_np(signal));
            QTest::addRow("%s inside a statement that never ends", qPrintable(name))
                << QStringList {"dbROZ.mdb|ROZ", "dbVAM.mdb|VAM|endless", "dbLUG.mdb|LUG"} << QStringList()
                << signal
                << QStringList {"Selesai", "Proses dibatalkan",
                                "not started, the transfer was stopped by " + name}
                << 128 + signal;
        }
        QTest::newRow("control characters in a path")
            << QStringList {"gone\x1b[2J\n/dbVAM.mdb|"} << QStringList() << 0
            << QStringList {"Tidak ada file @DIR@/gone\\x1b[2J\\x0a/dbVAM.mdb"} << 1;
        const QStringList two = {"dbROZ.mdb|ROZ", "dbVAM.mdb|VAM"};
        QTest::newRow("a source damaged past its first pages")
            << two << QStringList {"@DAMAGED-SOURCE@"} << 0 << QStringList {"not started", "not started"}
            << 2;
        QTest::newRow("outcome lines into a closed pipe")
            << two << QStringList {"@OUT-CLOSED@"} << 0 << QStringList {"Selesai", "not started"} << 2;
    }

    void transferRunsEachTargetAsTheWindowWould()
    {
        QFETCH(QStringList, targets);
        QFETCH(QStringList, options);
        QFETCH(int, stopSignal);
        QFETCH(QStringList, outcomes);
        QFETCH(int, exitStatus);
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("NewCodes.mdb"));
        const CodeLists lists
            = {{"Kemasan", {{"LOOP", "Tanpa akhir"}, {"K1", "Kotak"}, {"K3", "Karung"}}},
               {"Negara", {{"CI", "Côte d'Ivoire"}, {"ID", "Indonesia"}, {"MY", "Malaysia"}}},
               {"PelLN", {{"NLRTM", "Rotterdam"}}},
               {"Valuta", {{"IDR", "Rupiah"}}}};
        CodeLists offered = lists;
        const bool damagedSource = options.removeAll(QStringLiteral("@DAMAGED-SOURCE@")) > 0;
        for (int i = 0; damagedSource && i < 3000; ++i)
            offered["PelLN"].append({QStringLiteral("P%1").arg(i), QStringLiteral("Port number %1").arg(i)});
        makeSource(source, offered);
        QVERIFY(!damagedSource || garbleMiddle(source));
        QStringList paths;
        QList<FileSnapshot> before;
        for (const QString &target : targets) {
            const QStringList made = target.split(QLatin1Char('|')); // file, program, trigger
            paths << dir.filePath(made.at(0));
            if (const auto program = lorvanta::programFromName(made.at(1))) {
                makeTarget(paths.last(), *program);
                addTrigger(paths.last(), lorvanta::databasePassword(*program), made.value(2));
            }
            before << snapshot(paths.last());
        }

        QProcess tool;
        if (options.removeAll(QStringLiteral("@OUT-CLOSED@")) > 0)
            tool.setChildProcessModifier(closedPipeAsOutput);
        tool.start(builtProgram(QStringLiteral("valdoren-db")),
                   QStringList {"transfer", source} + paths + options);
        QElapsedTimer sinceStop;
        if (stopSignal) { // once the second target's first statement writes, and never ends
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(paths.at(1) + QStringLiteral("-journal")), 60000);
            ::kill(static_cast<pid_t>(tool.processId()), stopSignal);
            sinceStop.start();
        }
        QVERIFY2(tool.waitForFinished(60000), "the transfer did not end");
        if (stopSignal)
            qInfo("ended %lld ms after the signal", static_cast<long long>(sinceStop.elapsed()));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), exitStatus);
        // No progress line into a pipe; where nothing could be told there, why.
        const QByteArray error = tool.readAllStandardError();
        const bool told = exitStatus != 2;
        QVERIFY2(told ? error.isEmpty() : error.startsWith("valdoren-db: ") && error.count('\n') == 1,
                 error.constData());
        const QStringList lines
            = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), told ? paths.size() : 0);
        for (qsizetype i = 0; i < paths.size(); ++i) {
            const QString outcome = QString(outcomes.at(i)).replace(QStringLiteral("@DIR@"), dir.path());
            const QString shown = QString(paths.at(i)).replace("\x1b", "\\x1b").replace("\n", "\\x0a");
            QVERIFY2(!told
                         || (lines.at(i).startsWith(shown + QStringLiteral(": "))
                             && lines.at(i).endsWith(outcome)),
                     qPrintable(lines.value(i)));
            if (outcome == QLatin1String("Selesai"))
                expectStored(paths.at(i), lists, options);
            else if (outcome == QLatin1String("Proses dibatalkan")) // sound, keeping what was stored
                QVERIFY(integrityCheck(paths.at(i)) == QLatin1String("ok")
                        && codesIn(paths.at(i), QStringLiteral("tblValuta")) == QSet<QString> {"OLD"});
            else
                QVERIFY(snapshot(paths.at(i)) == before.at(i));
        }
    }

    void terminalShowsProgressAndNamesAsTheyAre()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("NewCodes.mdb"));
        makeSource(source, {{"Negara", {{"ID", "Indo\u2028nesia\x1b[2J"}}}});
        const QString target = dir.filePath(QStringLiteral("dbROZ.mdb"));
        makeTarget(target, lorvanta::Program::Roz);
        const QString tool = builtProgram(QStringLiteral("valdoren-db")); // then dump, a name as it is
        const QStringList arguments
            = {"transfer", source, target, "--only", "Negara", ";", tool, "dump", source, "Negara"};
        QProcess terminal; // script(1) gives the tool a pseudo-terminal
        terminal.start(QStringLiteral("script"),
                       {"-qec", tool + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')), "/dev/null"});
        QVERIFY(terminal.waitForFinished(60000));
        const QByteArray shown = terminal.readAllStandardOutput();
        QVERIFY2(shown.contains("\r" + target.toUtf8() + "  Negara  33%"), shown.constData());
        QVERIFY2(shown.contains("\r" + target.toUtf8() + ": Selesai\r\n"), shown.constData());
        QVERIFY2(shown.endsWith("\nID,Indo\\u2028nesia\\x1b[2J\r\r\n"), shown.constData());
    }

    void refusesToOverwrite()
    {
        const QString path = m_dir.filePath(QStringLiteral("existing.mdb"));
        writeFile(path, "precious");
        const ToolResult result = runTool({"create-target", path, "--program", "VAM"});
        QVERIFY(result.exitCode != 0);
        QVERIFY(result.err.contains("exists already"));
        QCOMPARE(snapshot(path).bytes, QByteArray("precious"));
    }

private:
    static void storeRows(const QString &target, const QString &password, const QStringList &rows)
    {
        QStringList statements;
        for (const QString &row : rows) {
            const QStringList parts = row.split(QLatin1Char('|'));
            statements << QStringLiteral("INSERT INTO %1 (KdEdi, Uredi) VALUES (%2, %3)")
                              .arg(parts.at(0), dataaccess::sqlLiteral(parts.at(1)),
                                   dataaccess::sqlLiteral(parts.at(2)));
        }
        executeStatements(target, password, statements);
    }

    static void addTrigger(const QString &target, const QString &password, const QString &kind)
    {
        if (kind == QLatin1String("rollback")) // ID is there, under a key declared ON CONFLICT ROLLBACK
            executeStatements(target, password,
                              {"DROP TABLE tblNegara",
                               "CREATE TABLE tblNegara (KdEdi TEXT UNIQUE ON CONFLICT ROLLBACK, Uredi TEXT)",
                               "INSERT INTO tblNegara VALUES ('ID', 'Indonesia')"});
        else if (kind == QLatin1String("endless")) // after a write, so that its journal shows it runs
            executeStatements(
                target, password,
                {"INSERT INTO tblValuta (KdEdi, Uredi) VALUES ('OLD', 'Kept from before')",
                 "CREATE VIEW forever AS WITH RECURSIVE c(x) AS "
                 "(SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x FROM c",
                 "CREATE TRIGGER endless BEFORE INSERT ON tblKemasan WHEN NEW.KdEdi = 'LOOP' BEGIN "
                 "INSERT INTO tblValuta (KdEdi, Uredi) VALUES ('RUN', 'x'); "
                 "SELECT count(*) FROM forever; END"});
    }

    static QSet<QString> codesIn(const QString &target, const QString &table)
    {
        const QString password = lorvanta::databasePassword(
            transfer::isSomaTarget(target) ? lorvanta::Program::Soma : lorvanta::Program::Roz);
        QSet<QString> codes;
        for (const CodeRow &row : tableRows(target, password, table))
            codes.insert(row.first.value_or(QString()));
        return codes;
    }

    // Every ticked category's codes, as the window's run stores them.
    static void expectStored(const QString &target, const CodeLists &lists, const QStringList &options)
    {
        const QString only = options.value(options.indexOf(QStringLiteral("--only")) + 1);
        for (const transfer::CodeCategory &category : transfer::codeCategories()) {
            QSet<QString> expected;
            const bool ticked = !options.contains(QStringLiteral("--only"))
                || only.split(',').contains(category.sourceTable);
            if (ticked && !(category.skippedForSoma && transfer::isSomaTarget(target))) {
                for (const CodeRow &row : lists.value(category.sourceTable))
                    expected.insert(row.first.value_or(QString()));
            }
            QCOMPARE(codesIn(target, category.targetTable), expected);
        }
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestDbTool)
#include "tst_dbtool.moc"
