// The readers of create-source's input files, in the process: built twice,
// the second time with char unsigned, as on arm64, ppc64el and s390x.
#include "dbtool/codelistfiles.h"
#include "dbtool/csv.h"
#include "testdatabases.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <type_traits>

using codelists::CodeList;
using csv::Record;

namespace {

QList<Record> readAll(const QByteArray &data)
{
    csv::Reader reader(data);
    QList<Record> records;
    Record record;
    while (reader.next(record))
        records.append(record);
    return records;
}

const csv::Field null = std::nullopt;

const QByteArray Rotterdam
    = ",\"NL\",\"RTM\",\"Rotterdam\",\"Rotterdam\",\"ZH\",\"12345---\",\"AF\",\"0501\",,,\r\n";
const QByteArray Sao = ",\"BR\",\"SSZ\",\"S\xC3\xA3o Sebasti\xC3\xA3o\",,,\"1-------\",,,,,\n";
const QByteArray Sete = ",\"FR\",\"SET\",\"S\xE8te\",,,\"1-------\",,,,,\n";
const QByteArray Bom = "\xEF\xBB\xBF";

QByteArray inEncoding(QStringEncoder::Encoding encoding, const QByteArray &utf8, bool bom)
{
    QStringEncoder encoder(encoding, bom ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
    return encoder(QString::fromUtf8(utf8));
}

// The codes read, "ID..." and others apart as "domestic|foreign", or the
// message that refused the file.
QString portsOf(const QByteArray &data)
{
    codelists::Ports ports;
    try {
        codelists::readLocodeData(data, QStringLiteral("NL.csv"), ports);
    } catch (const codelists::InputError &error) {
        return error.message();
    }
    const auto codes = [](const CodeList &list) {
        QStringList codes;
        for (const codelists::CodeRow &row : list)
            codes << row.code.value_or(QString()) + QLatin1Char('=') + row.description.value_or(QString());
        return codes.join(QLatin1Char(' '));
    };
    return codes(ports.domestic) + QLatin1Char('|') + codes(ports.foreign);
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRecords_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QList<Record>>("expected");
        QTest::newRow("CRLF lines") << QByteArray("a,b\r\nc,d\r\n") << QList<Record> {{"a", "b"}, {"c", "d"}};
        QTest::newRow("LF lines, no final end")
            << QByteArray("a,b\nc,d") << QList<Record> {{"a", "b"}, {"c", "d"}};
        QTest::newRow("empty fields are null") << QByteArray(",b,\r\n") << QList<Record> {{null, "b", null}};
        QTest::newRow("quoted empty field is null")
            << QByteArray("\"\",x\r\n") << QList<Record> {{null, "x"}};
        QTest::newRow("quoted comma, quote and line break")
            << QByteArray("\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n")
            << QList<Record> {{"a,b", "say \"hi\"", "two\r\nlines"}};
        QTest::newRow("apostrophe and UTF-8")
            << QByteArray("CI,C\xC3\xB4te d'Ivoire\r\n") << QList<Record> {{"CI", "Côte d'Ivoire"}};
        QTest::newRow("byte order mark skipped")
            << QByteArray("\xEF\xBB\xBFKode,Uraian\r\n") << QList<Record> {{"Kode", "Uraian"}};
        QTest::newRow("blanks kept") << QByteArray(" a , b \r\n") << QList<Record> {{" a ", " b "}};
        QTest::newRow("nothing") << QByteArray() << QList<Record> {};
    }

    void readsRecords()
    {
        QFETCH(QByteArray, data);
        QFETCH(QList<Record>, expected);
        QCOMPARE(readAll(data), expected);
    }

    void reportsTheLineOfAnError_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<qsizetype>("line");
        QTest::newRow("quote in plain field") << QByteArray("a,b\r\nc,d\"e\r\n") << qsizetype(2);
        QTest::newRow("text after closing quote") << QByteArray("a\n\"b\"c\n") << qsizetype(2);
        QTest::newRow("unclosed quote names its first line")
            << QByteArray("a\nb\n\"c\nd\ne\n") << qsizetype(3);
        QTest::newRow("bare carriage return") << QByteArray("a\rb\n") << qsizetype(1);
        QTest::newRow("invalid UTF-8") << QByteArray("a\nb\nc\xC3(\n") << qsizetype(3);
        QTest::newRow("NUL character") << QByteArray("a\nb\0c\n", 6) << qsizetype(2);
        QTest::newRow("line count goes on after a quoted line break")
            << QByteArray("\"a\nb\",c\nd\"\n") << qsizetype(3);
    }

    void reportsTheLineOfAnError()
    {
        QFETCH(QByteArray, data);
        QFETCH(qsizetype, line);
        try {
            readAll(data);
            QFAIL("malformed data was read");
        } catch (const csv::ParseError &error) {
            QCOMPARE(error.line(), line);
        }
    }

    void recordLineIsWhereTheRecordBegins()
    {
        csv::Reader reader("\"a\nb\",c\nd,e\n");
        Record record;
        QVERIFY(reader.next(record));
        QCOMPARE(reader.recordLine(), qsizetype(1));
        QVERIFY(reader.next(record));
        QCOMPARE(reader.recordLine(), qsizetype(3));
    }

    void formattedRecordsReadBack_data()
    {
        QTest::addColumn<Record>("record");
        QTest::newRow("plain") << Record {"ID", "Indonesia"};
        QTest::newRow("null and comma") << Record {null, "Bonaire, Sint Eustatius and Saba"};
        QTest::newRow("quotes and breaks") << Record {"\"", "a\r\nb", "c\nd", "e'f"};
        QTest::newRow("non-ASCII") << Record {"ß", "Åland Islands", "☃"};
        QTest::newRow("byte-order mark inside a field") << Record {std::nullopt, QStringLiteral("\uFEFF")};
        QTest::newRow("byte-order mark opening the text") << Record {QStringLiteral("\uFEFFx")};
    }

    void formattedRecordsReadBack()
    {
        QFETCH(Record, record);
        QCOMPARE(readAll(csv::formatRecord(record)), QList<Record> {record});
    }

    void formatQuotesOnlyWhereNeeded()
    {
        QCOMPARE(csv::formatRecord({"CI", "Côte d'Ivoire"}), QByteArray("CI,C\xC3\xB4te d'Ivoire\r\n"));
        QCOMPARE(csv::formatRecord({"a,b", null, "x\"y"}), QByteArray("\"a,b\",,\"x\"\"y\"\r\n"));
    }

    void charIsAsBuilt()
    {
#ifdef VALDOREN_UNSIGNED_CHAR
        QVERIFY(!std::is_signed_v<char>);
#else
        QVERIFY(std::is_signed_v<char>);
#endif
    }

    void locodeFilesAreReadInOneMeaning_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected"); // the ports read, or the start of the message
        QTest::newRow("UTF-8") << Rotterdam + Sao << "|NLRTM=Rotterdam BRSSZ=São Sebastião";
        QTest::newRow("ISO 8859-1") << Rotterdam + Sete << "|NLRTM=Rotterdam FRSET=Sète";
        QTest::newRow("one ISO 8859-1 line in UTF-8")
            << Rotterdam + Sao + Rotterdam + Sete
            << "NL.csv:4: this line is not UTF-8, line 2 is: a file must be wholly in one encoding";
        QTest::newRow("UTF-8 in ISO 8859-1") << Sete + Sao << "NL.csv:2: this line is UTF-8, line 1 is not";
        QTest::newRow("a UTF-8 byte-order mark on ISO 8859-1, over an X")
            << Bom + "X" + Sete << "NL.csv:1: not UTF-8, as the file's byte-order mark says it is";
        // Files saved with a byte-order mark and joined by cat: the second
        // mark would hide the X in front of which it stands.
        const QByteArray removed = "X,NL,OLD,Gone,,,1-------,,,,,\r\n";
        QTest::newRow("two UTF-8 files with marks, joined") << Bom + Rotterdam + Bom
                + removed << "NL.csv:2: a byte-order mark inside the file, which only its start may have";
        QTest::newRow("the same, the first file without one")
            << Rotterdam + Bom + removed << "NL.csv:2: a byte-order mark inside the file";
        QTest::newRow("two UTF-16 files with marks, joined")
            << inEncoding(QStringEncoder::Utf16LE, Rotterdam, true)
                + inEncoding(QStringEncoder::Utf16LE, removed, true)
            << "NL.csv:2: a byte-order mark inside the file";
        QTest::newRow("a UTF-16BE mark in a UTF-16LE file")
            << inEncoding(QStringEncoder::Utf16LE, Rotterdam, true)
                + inEncoding(QStringEncoder::Utf16BE, removed, true)
            << "NL.csv:2: a byte-order mark inside the file";
        QTest::newRow("a mark inside a name") << Rotterdam
                + ",\"NL\",\"AMS\",\"Amster\xEF\xBB\xBF"
                  "dam\",,,\"1-------\",,,,,\n"
                                              << "NL.csv:2: a byte-order mark inside the file";
        QTest::newRow("the file's own mark") << Bom + removed + Rotterdam << "|NLRTM=Rotterdam";
        // Blank lines: after the last entry, as an editor leaves them, and between.
        QTest::newRow("blank lines") << "\r\n" + Rotterdam + "\r\n \r\n" + Sete + "\n\n"
                                     << "|NLRTM=Rotterdam FRSET=Sète";
        QTest::newRow("blank lines alone") << QByteArray("\r\n\r\n") << "NL.csv: the file is empty, no entry";
        QTest::newRow("an entry taken without a name")
            << Rotterdam + ",\"GB\",\"LHR\",,,,\"---4----\",,,,,\n"
            << "NL.csv:2: GBLHR has no name (Name), which its port list needs";
        QTest::newRow("a name of blanks")
            << QByteArray(",\"ID\",\"PAP\",\" \",,,\"1-------\",,,,,\n") << "NL.csv:1: IDPAP has no name";
        QTest::newRow("a second entry without a name, left out")
            << Rotterdam + ",\"NL\",\"RTM\",,,,\"1-------\",,,,,\n"
            << "|NLRTM=Rotterdam";
        QTest::newRow("a removal mark with a blank")
            << Rotterdam + "\"X \",NL,OLD,Gone,,,1-------,,,,,\n"
            << "NL.csv:2: not a line of a UN/LOCODE code list: Change \"X \" is not one of";
        // Indonesia: every entry, its function known or not.
        QTest::newRow("Indonesia, function not known") << QByteArray(
            ",\"ID\",\"PAP\",\"Pare Pare\",\"Pare Pare\",\"SN\",\"0-------\",\"RQ\",\"9601\",,,\n"
            ",\"ID\",\"XYZ\",\"Nowhere\",,,,,,,,\n"
            "\"X\",\"ID\",\"OLD\",\"Gone\",,,\"1-------\",,,,,\n")
                                                       << "IDPAP=Pare Pare IDXYZ=Nowhere|";
        QTest::newRow("a lone NUL") << Rotterdam + QByteArray(",\"NL\",\"AMS\",\"A\0\",,,,,,,,\n", 25)
                                    << "NL.csv:2: NUL character in a field";
        // Encodings create-source does not read.
        for (const auto &[name, encoding, bom] : {std::tuple("UTF-16LE", QStringEncoder::Utf16LE, false),
                                                  std::tuple("UTF-16BE", QStringEncoder::Utf16BE, false),
                                                  std::tuple("UTF-32LE", QStringEncoder::Utf32LE, false),
                                                  std::tuple("UTF-32BE", QStringEncoder::Utf32BE, false),
                                                  std::tuple("UTF-32LE", QStringEncoder::Utf32LE, true),
                                                  std::tuple("UTF-32BE", QStringEncoder::Utf32BE, true)}) {
            QTest::addRow("%s%s", name, bom ? ", marked" : "")
                << inEncoding(encoding, Rotterdam + Sao, bom)
                << QStringLiteral(
                       "NL.csv: %1: not an encoding create-source reads; it reads UTF-8, ISO 8859-1 "
                       "(as Windows-1252) and UTF-16 with a byte-order mark")
                       .arg(bom ? QStringLiteral("UTF-32, as its byte-order mark says")
                                : QStringLiteral(
                                    "NUL bytes, as in UTF-16 without a byte-order mark or in UTF-32"));
        }
    }

    void locodeFilesAreReadInOneMeaning()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QString read = portsOf(content);
        QVERIFY2(read.startsWith(expected), qPrintable(read));
    }

    void codeListsTakeEachCodeAsWritten_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected"); // the codes read, or the message
        QTest::newRow("blank lines") << QByteArray(
            "\r\nKode,Uraian\r\n\r\nIDR,Rupiah\r\nEUR,Euro\r\n\r\n  \r\n")
                                     << "IDR EUR";
        // A code of one space, or with a trailing blank: tst_dbtool.
        QTest::newRow("a code after a no-break space") << QByteArray("Kode,Uraian\r\n\xC2\xA0IDR,Rupiah\r\n")
                                                       << "Valuta.csv:2: the code (Kode) \"\u00A0IDR\"";
        QTest::newRow("two files with marks, joined")
            << QByteArray("\xEF\xBB\xBFKode,Uraian\r\nIDR,Rupiah\r\n\xEF\xBB\xBFKode,Uraian\r\nEUR,Euro\r\n")
            << "Valuta.csv:3: the code (Kode) holds a byte-order mark";
        QTest::newRow("a name of its own mark, as dump writes it")
            << QByteArray("Kode,Uraian\r\nIDR,\"\xEF\xBB\xBFRupiah\"\r\n") << "IDR";
    }

    void codeListsTakeEachCodeAsWritten()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Valuta.csv"));
        testsupport::writeFile(path, content);
        QString read;
        try {
            QStringList codes;
            for (const codelists::CodeRow &row : codelists::readCodeListFile(path))
                codes << row.code.value_or(QString());
            read = codes.join(QLatin1Char(' '));
        } catch (const codelists::InputError &error) {
            read = error.message().mid(dir.path().size() + 1);
        }
        QVERIFY2(read.startsWith(expected), qPrintable(read));
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
