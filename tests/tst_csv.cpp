#include "dbtool/csv.h"

#include <QTest>

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
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
