#include "dataaccess/connection.h"
#include "dataaccess/recordset.h"
#include "testdatabases.h"
#include "transfer/codecategory.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using transfer::codeCategories;
using transfer::CodeCategory;
using transfer::insertStatement;
using Value = std::optional<QString>;

namespace {

// An empty ROZ database in dir, opened on db.
void openNewRozTarget(dataaccess::Connection &db, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("dbROZ.mdb"));
    testsupport::makeTarget(path, lorvanta::Program::Roz);
    db.setConnectionString(testsupport::jetConnectionString(path, QStringLiteral("GorvanPelikMiro")));
    db.open();
}

const CodeCategory &category(const QString &targetTable)
{
    for (const CodeCategory &candidate : codeCategories()) {
        if (candidate.targetTable == targetTable)
            return candidate;
    }
    qFatal("no category %s", qPrintable(targetTable));
}

// Pieces that break naive statement building, mixed with ordinary text.
QString randomText(QRandomGenerator &random, int maxPieces)
{
    static const QStringList pieces = {
        "'",
        "''",
        "\"",
        ";",
        "--",
        "/*",
        "*/",
        ")",
        "(",
        ",",
        "\\",
        " ",
        "a",
        "Z",
        "7",
        "é",
        "ô",
        "ß",
        "Ж",
        "中",
        "😀",
        "𝄞",
        "\t",
        "%",
        "_",
        "Côte d'Ivoire",
        "'); DROP TABLE tblNegara; --",
    };
    QString text;
    const int count = random.bounded(maxPieces + 1);
    for (int i = 0; i < count; ++i)
        text += pieces.at(random.bounded(pieces.size()));
    return text;
}

int characterCount(const QString &text)
{
    return static_cast<int>(text.toUcs4().size());
}

} // namespace

class TestCodeCategory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void categoriesAreInTheirFixedOrder()
    {
        QStringList order;
        for (const CodeCategory &c : codeCategories())
            order << QStringLiteral("%1 %2 %3 %4 %5 %6")
                         .arg(c.tickBoxName, c.caption, c.sourceQuery(), c.targetTable)
                         .arg(c.descriptionLimit)
                         .arg(c.skippedForSoma);
        QCOMPARE(order,
                 QStringList({
                     "chkKemasan Kemasan Select * From Kemasan tblKemasan 45 0",
                     "chkNegara Negara Select * From Negara tblNegara 40 0",
                     "chkPelDN Pelabuhan Dalam Negeri Select * From PelDN tblPelDN 45 0",
                     "chkPelLN Pelabuhan Luar Negeri Select * From PelLN tblPelLN 30 1",
                     "chkSatuan Satuan Select * From Satuan tblSatuan 45 0",
                     "chkValuta Valuta Asing Select * From Valuta tblValuta 30 0",
                 }));
    }

    void statementHasItsFixedShape_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<Value>("code");
        QTest::addColumn<Value>("description");
        QTest::addColumn<QString>("statement");
        QTest::newRow("unit") << "tblSatuan" << Value("KGM") << Value("kilogram")
                              << "Insert Into tblSatuan(KdEdi, Uredi) Values('KGM', 'kilogram')";
        QTest::newRow("country apostrophe doubled")
            << "tblNegara" << Value("CI") << Value("Côte d'Ivoire")
            << "Insert Into tblNegara(KdEdi, Uredi) Values('CI', 'Côte d''Ivoire')";
        QTest::newRow("code apostrophe doubled") << "tblKemasan" << Value("A'") << Value("x")
                                                 << "Insert Into tblKemasan(KdEdi, Uredi) Values('A''', 'x')";
        QTest::newRow("null code and description, quote-doubling category")
            << "tblPelLN" << Value() << Value() << "Insert Into tblPelLN(KdEdi, Uredi) Values('', '')";
        QTest::newRow("null description, other category")
            << "tblValuta" << Value("XXX") << Value()
            << "Insert Into tblValuta(KdEdi, Uredi) Values('XXX', '')";
        QTest::newRow("exactly the limit kept whole")
            << "tblValuta" << Value("C") << Value(QString(30, 'v'))
            << QStringLiteral("Insert Into tblValuta(KdEdi, Uredi) Values('C', '%1')").arg(QString(30, 'v'));
        QTest::newRow("one over the limit loses its last character")
            << "tblNegara" << Value("C") << Value(QString(40, 'n') + "X")
            << QStringLiteral("Insert Into tblNegara(KdEdi, Uredi) Values('C', '%1')").arg(QString(40, 'n'));
        QTest::newRow("apostrophe beyond the limit is cut away")
            << "tblNegara" << Value("C") << Value(QString(40, 'n') + "'s")
            << QStringLiteral("Insert Into tblNegara(KdEdi, Uredi) Values('C', '%1')").arg(QString(40, 'n'));
        QTest::newRow("apostrophe as the last kept character")
            << "tblPelLN" << Value("C") << Value(QString(29, 'p') + "'tail")
            << QStringLiteral("Insert Into tblPelLN(KdEdi, Uredi) Values('C', '%1''')").arg(QString(29, 'p'));
        QTest::newRow("characters, not UTF-16 units")
            << "tblValuta" << Value("E") << Value(QString(30, QChar(0x20AC)) + "x")
            << QStringLiteral("Insert Into tblValuta(KdEdi, Uredi) Values('E', '%1')")
                   .arg(QString(30, QChar(0x20AC)));
        QTest::newRow("NUL or a lone surrogate: the whole value as its bytes cast to text")
            << "tblNegara" << Value(QStringLiteral("a") + QChar(0) + QStringLiteral("'"))
            << Value(QStringLiteral("😀") + QChar(0xDC00))
            << "Insert Into tblNegara(KdEdi, Uredi) Values('' || CAST(X'610027' AS TEXT) || '', "
               "'' || CAST(X'f09f9880edb080' AS TEXT) || '')";
        const QString longCode(1000, 'K');
        QTest::newRow("code of any length unchanged")
            << "tblSatuan" << Value(longCode) << Value("d")
            << QStringLiteral("Insert Into tblSatuan(KdEdi, Uredi) Values('%1', 'd')").arg(longCode);
    }

    void statementHasItsFixedShape()
    {
        QFETCH(QString, table);
        QFETCH(Value, code);
        QFETCH(Value, description);
        QFETCH(QString, statement);
        QCOMPARE(insertStatement(category(table), code, description), statement);
    }

    void limitCountsAstralCharactersOnce()
    {
        const QString emoji = QStringLiteral("😀");
        const QString statement
            = insertStatement(category(QStringLiteral("tblValuta")), Value("E"), Value(emoji.repeated(31)));
        QVERIFY(statement.contains(emoji.repeated(30) + QStringLiteral("')")));
        QVERIFY(!statement.contains(emoji.repeated(31)));
        // Never half a pair at the cut.
        QCOMPARE(transfer::firstCharacters(QStringLiteral("a😀b"), 2), QStringLiteral("a😀"));
    }

    void statusLineKeepsTheWholeDescription()
    {
        const QString longName(200, 'x');
        QCOMPARE(transfer::statusLine(Value("KGM"), Value(longName)), QStringLiteral("KGM - ") + longName);
        QCOMPARE(transfer::statusLine(Value(), Value()), QStringLiteral(" - "));
        QCOMPARE(transfer::statusLine(Value("CI"), Value("Côte d'Ivoire")),
                 QStringLiteral("CI - Côte d'Ivoire"));
    }

    void somaTest_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("soma");
        QTest::newRow("default path") << "C:\\Karsela\\SOMA1.3\\dbSOMA.mdb" << true;
        QTest::newRow("lower case") << "/home/op/dbsoma.mdb" << true;
        QTest::newRow("name alone") << "DBSOMA.MDB" << true;
        QTest::newRow("further extension") << "/home/op/dbSOMA.mdb.bak" << false;
        // A drive path's name as Wine reads it; a Linux name keeps its blank.
        QTest::newRow("drive path, blank and dot after") << "C:\\Karsela\\SOMA1.3\\dbSOMA.mdb ." << true;
        QTest::newRow("Linux name ending in a blank") << "/home/op/dbSOMA.mdb " << false;
        QTest::newRow("ROZ") << "C:\\Karsela\\ROZ5\\dbROZ.mdb" << false;
        QTest::newRow("SOMA folder, other file") << "/SOMA1.3/dbROZ.mdb" << false;
        QTest::newRow("longer name ending alike") << "/x/mydbSOMA.mdb" << true;
        QTest::newRow("too short") << "SOMA.mdb" << false;
        QTest::newRow("empty") << "" << false;
    }

    void somaTest()
    {
        QFETCH(QString, path);
        QFETCH(bool, soma);
        QCOMPARE(transfer::isSomaTarget(path), soma);
    }

    // Whatever the values, the statement stores exactly the code and the
    // cut description, in its own table, and changes nothing else.
    void statementsStoreExactlyTheirValues()
    {
        QTemporaryDir dir;
        dataaccess::Connection db;
        openNewRozTarget(db, dir);

        QRandomGenerator random(20091123);
        QMap<QString, QList<std::pair<QString, QString>>> expected;
        constexpr int RowsPerCategory = 150;
        for (const CodeCategory &c : codeCategories()) {
            QSet<QString> usedCodes;
            for (int i = 0; i < RowsPerCategory; ++i) {
                Value code;
                do {
                    code = random.bounded(20) == 0 ? Value() : Value(randomText(random, 4));
                } while (usedCodes.contains(code.value_or(QString()))
                         || characterCount(code.value_or(QString())) > 20);
                usedCodes.insert(code.value_or(QString()));
                const int roll = random.bounded(10);
                const Value description = roll == 0 ? Value()
                    : roll == 1                     ? Value(QString(c.descriptionLimit - 1, 'y') + "'")
                                                    : Value(randomText(random, 30));

                const QString statement = insertStatement(c, code, description);
                try {
                    db.execute(statement);
                } catch (const dataaccess::DataAccessError &failure) {
                    QFAIL(qPrintable(QStringLiteral("%1 failed: %2").arg(statement, failure.description())));
                }
                const QString kept
                    = transfer::firstCharacters(description.value_or(QString()), c.descriptionLimit);
                QVERIFY(characterCount(kept) <= c.descriptionLimit);
                expected[c.targetTable].append({code.value_or(QString()), kept});
            }
        }
        for (const CodeCategory &c : codeCategories())
            QCOMPARE(storedRows(db, c.targetTable), expected.value(c.targetTable));
    }

    // Whatever a source field holds is kept exactly, compared byte for byte
    // as the file stores it (UTF-8). A lone surrogate, which no UTF-8 text
    // can hold, is kept as the three bytes of its code unit, as SQLite's
    // char() writes it; SQLite reads those back as U+FFFD.
    void everyCharacterIsStoredExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("storedHex");
        QTest::newRow("NUL inside") << QStringLiteral("a") + QChar(0) + QStringLiteral("b")
                                    << QByteArray("610062");
        QTest::newRow("NUL alone") << QString(QChar(0)) << QByteArray("00");
        QTest::newRow("control characters")
            << QStringLiteral("\x01\t\n\r\x1b\x7f") << QByteArray("01090A0D1B7F");
        QTest::newRow("lone high surrogate before an apostrophe")
            << QString(QChar(0xD800)) + QStringLiteral("'") << QByteArray("EDA08027");
        QTest::newRow("lone low surrogate") << QString(QChar(0xDFFF)) << QByteArray("EDBFBF");
        QTest::newRow("surrogates the wrong way round")
            << QString(QChar(0xDC00)) + QChar(0xD800) << QByteArray("EDB080EDA080");
        QTest::newRow("a thousand NULs, a code's worth") << QString(1000, QChar(0)) << QByteArray(2000, '0');
        QTest::newRow("three million NULs") << QString(3000000, QChar(0)) << QByteArray(6000000, '0');
        QTest::newRow("a pair is one character") << QStringLiteral("😀") << QByteArray("F09F9880");
    }

    void everyCharacterIsStoredExactly()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, storedHex);
        QTemporaryDir dir;
        dataaccess::Connection db;
        openNewRozTarget(db, dir);
        for (const CodeCategory &c : codeCategories()) {
            const QString statement = insertStatement(c, value, value);
            // No more than a character's three bytes in hex for each code unit.
            QVERIFY(statement.size()
                    <= c.statementPrefix.size() + 6 * (value.size() + 2 * c.descriptionLimit) + 64);
            db.execute(statement);
            dataaccess::Recordset stored;
            stored.open(QStringLiteral("Select hex(KdEdi) As code, hex(Uredi) As description From ")
                            + c.targetTable,
                        db);
            QCOMPARE(stored.field(QStringLiteral("code")), Value(QString::fromLatin1(storedHex)));
            const QByteArray cutHex = storedHex.left(2 * c.descriptionLimit); // one byte a character there
            QCOMPARE(stored.field(QStringLiteral("description")), Value(QString::fromLatin1(cutHex)));
        }
    }

private:
    static QList<std::pair<QString, QString>> storedRows(dataaccess::Connection &db, const QString &table)
    {
        QList<std::pair<QString, QString>> rows;
        dataaccess::Recordset reader;
        for (reader.open(QStringLiteral("Select KdEdi, Uredi From ") + table, db); !reader.eof();
             reader.moveNext())
            rows.append({reader.field(QStringLiteral("KdEdi")).value_or(QStringLiteral("<null>")),
                         reader.field(QStringLiteral("Uredi")).value_or(QStringLiteral("<null>"))});
        return rows;
    }
};

QTEST_GUILESS_MAIN(TestCodeCategory)
#include "tst_codecategory.moc"
