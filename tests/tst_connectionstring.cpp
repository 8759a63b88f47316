#include "dataaccess/connectionstring.h"
#include "dataaccess/dataaccesserror.h"

#include <QTest>

using dataaccess::ConnectionString;
using dataaccess::DataAccessError;

class TestConnectionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QString jet
            = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Karsela\\ROZ5\\dbROZ.mdb;"
                             "Jet OLEDB:Database Password=GorvanPelikMiro;");
        QTest::newRow("provider") << jet << "Provider"
                                  << "Microsoft.Jet.OLEDB.4.0";
        QTest::newRow("data source") << jet << "Data Source"
                                     << "C:\\Karsela\\ROZ5\\dbROZ.mdb";
        QTest::newRow("password") << jet << "Jet OLEDB:Database Password"
                                  << "GorvanPelikMiro";
        QTest::newRow("key in other case") << jet << "DATA SOURCE"
                                           << "C:\\Karsela\\ROZ5\\dbROZ.mdb";
        QTest::newRow("blanks around key and value") << "  Data Source  =   /tmp/a b.mdb   ;"
                                                     << "data source"
                                                     << "/tmp/a b.mdb";
        QTest::newRow("double-quoted value keeps ';' and blanks") << "Data Source=\" /tmp/a;b.mdb \";X=1"
                                                                  << "Data Source"
                                                                  << " /tmp/a;b.mdb ";
        QTest::newRow("single-quoted value") << "Data Source='/tmp/a;b.mdb'"
                                             << "Data Source"
                                             << "/tmp/a;b.mdb";
        QTest::newRow("doubled quote inside quotes") << "Data Source=\"/tmp/say \"\"hi\"\".mdb\""
                                                     << "Data Source"
                                                     << "/tmp/say \"hi\".mdb";
        QTest::newRow("other quote kept inside quotes") << "Data Source=\"/tmp/it's.mdb\""
                                                        << "Data Source"
                                                        << "/tmp/it's.mdb";
        QTest::newRow("quote inside an unquoted value is text") << "Data Source=/tmp/it's.mdb"
                                                                << "Data Source"
                                                                << "/tmp/it's.mdb";
        QTest::newRow("blanks after closing quote") << "Data Source='x'   ;Provider=p"
                                                    << "Provider"
                                                    << "p";
        QTest::newRow("empty value") << "Jet OLEDB:Database Password=;"
                                     << "Jet OLEDB:Database Password"
                                     << "";
        QTest::newRow("later value wins") << "A=1;a=2"
                                          << "A"
                                          << "2";
        QTest::newRow("no final separator") << "A=1;B=2"
                                            << "B"
                                            << "2";
        QTest::newRow("empty pairs skipped") << ";;A=1;;;B=2;;"
                                             << "B"
                                             << "2";
        QTest::newRow("doubled '=' in a key") << "a==b=3"
                                              << "a=b"
                                              << "3";
        QTest::newRow("'=' inside a value") << "A=x=y"
                                            << "A"
                                            << "x=y";
        QTest::newRow("non-ASCII path") << "Data Source=/tmp/Côte d'Ivoire/ß.mdb"
                                        << "Data Source"
                                        << "/tmp/Côte d'Ivoire/ß.mdb";
    }

    void parsesValues()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const auto value = ConnectionString::parse(text).value(key);
        QVERIFY(value.has_value());
        QCOMPARE(*value, expected);
    }

    void missingKeyHasNoValue()
    {
        QVERIFY(!ConnectionString::parse(QStringLiteral("A=1")).value(QStringLiteral("B")));
        QVERIFY(!ConnectionString::parse(QString()).value(QStringLiteral("A")));
    }

    void rejectsMalformedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("unclosed quote") << "Data Source=\"/tmp/x.mdb;";
        QTest::newRow("text after closing quote") << "Data Source='a'b;";
        QTest::newRow("key without '='") << "Provider;Data Source=x";
        QTest::newRow("value without key") << "=x";
        QTest::newRow("blank key") << "   =x";
    }

    void rejectsMalformedText()
    {
        QFETCH(QString, text);
        try {
            ConnectionString::parse(text);
            QFAIL("malformed text was accepted");
        } catch (const DataAccessError &failure) {
            QCOMPARE(failure.number(), dataaccess::errc::BadConnectionString);
            QVERIFY(!failure.isRowRefusal());
        }
    }

    void quotedValuesComeBackUnchanged_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "/tmp/dbROZ.mdb";
        QTest::newRow("semicolon") << "/tmp/a;b/dbROZ.mdb";
        QTest::newRow("double quote") << "/tmp/a\"b.mdb";
        QTest::newRow("apostrophe") << "/tmp/it's.mdb";
        QTest::newRow("both quotes and semicolon") << "/tmp/'a\";b'\".mdb";
        QTest::newRow("leading and trailing blanks") << "  /tmp/x.mdb  ";
        QTest::newRow("starts with a quote") << "'quoted'";
        QTest::newRow("empty") << "";
        QTest::newRow("equals signs") << "a=b==c";
        QTest::newRow("starts with an equals sign") << "=x";
        QTest::newRow("vertical tab and no-break space at the ends") << QStringLiteral("\v/tmp/x.mdb\u00A0");
        QTest::newRow("only equals signs") << "==";
    }

    void quotedValuesComeBackUnchanged()
    {
        QFETCH(QString, value);
        const QString text = ConnectionString::forJet(value, value);
        const ConnectionString parsed = ConnectionString::parse(text);
        QCOMPARE(parsed.valueOr(QStringLiteral("Data Source"), QStringLiteral("<none>")), value);
        QCOMPARE(parsed.valueOr(QStringLiteral("Jet OLEDB:Database Password"), QStringLiteral("<none>")),
                 value);
    }

    void plainValuesAreWrittenAsTheyStand()
    {
        QCOMPARE(ConnectionString::forJet(QStringLiteral("C:\\Karsela\\SOMA1.3\\dbSOMA.mdb"),
                                          QStringLiteral("TobakLimer")),
                 QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data "
                                "Source=C:\\Karsela\\SOMA1.3\\dbSOMA.mdb;Jet OLEDB:Database "
                                "Password=TobakLimer;"));
    }
};

QTEST_GUILESS_MAIN(TestConnectionString)
#include "tst_connectionstring.moc"
