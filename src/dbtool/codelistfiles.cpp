#include "dbtool/codelistfiles.h"

#include "transfer/lorvanta.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace codelists {

namespace {

constexpr int LocodeColumns = 12;
enum LocodeColumn { Change = 0, Country = 1, Location = 2, Name = 3, Function = 6, Status = 7, Date = 8 };

// Well above any code list: the whole of UN/LOCODE, every country in one
// file, is about 10 MB. A device such as /dev/zero would be read for ever.
constexpr qint64 MaxListBytes = 64 * 1024 * 1024;

QByteArray readWholeFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw InputError(QStringLiteral("%1: not an ordinary file").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw InputError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray data = file.read(MaxListBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw InputError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (data.size() > MaxListBytes)
        throw InputError(QStringLiteral("%1: larger than any code list can be (over %2 MB)")
                             .arg(path)
                             .arg(MaxListBytes / (1024 * 1024)));
    return data;
}

QString textOf(const csv::Field &field)
{
    return field.value_or(QString());
}

// Each record but blank lines (empty, or blanks only), such as the one an
// editor leaves after the last entry; path names the data in messages.
template<typename Handle> void forEachRecord(const QByteArray &data, const QString &path, Handle handle)
{
    csv::Reader reader(data);
    csv::Record record;
    try {
        while (reader.next(record)) {
            if (record.size() == 1 && textOf(record.at(0)).trimmed().isEmpty())
                continue;
            handle(record, reader.recordLine());
        }
    } catch (const csv::ParseError &error) {
        throw InputError(QStringLiteral("%1:%2: %3").arg(path).arg(error.line()).arg(error.message()));
    }
}

[[noreturn]] void badLine(const QString &path, qsizetype line, const QString &why)
{
    throw InputError(QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(why));
}

bool matches(const QString &text, const QRegularExpression &pattern)
{
    return pattern.match(text).hasMatch();
}

// Two letters for the country; three letters or digits for the location,
// none for a line that names the country itself.
bool isCountryAndLocation(const QString &country, const QString &location)
{
    static const QRegularExpression countryCode(QStringLiteral("^[A-Z]{2}$"));
    static const QRegularExpression locationCode(QStringLiteral("^([A-Z0-9]{3})?$"));
    return matches(country, countryCode) && matches(location, locationCode);
}

// The columns whose shape tells a code list from a file of another layout
// (a header line, the columns in another order); what is wrong, if any.
QString layoutFault(const csv::Record &record)
{
    struct Shape
    {
        LocodeColumn column;
        QLatin1String name;
        QRegularExpression pattern;
        QLatin1String described;
    };
    // Change: + added, # renamed, | (or ¦) changed, = a reference, ! under
    // review, X (or x) marked for removal.
    static const Shape shapes[] = {
        {Change, QLatin1String("Change"), QRegularExpression(QStringLiteral("^[+#|¦=!Xx]?$")),
         QLatin1String("one of +, #, |, =, ! and X")},
        {Function, QLatin1String("Function"), QRegularExpression(QStringLiteral("^([0-9B-]{8})?$")),
         QLatin1String("eight of 0-9, B and -")},
        {Status, QLatin1String("Status"), QRegularExpression(QStringLiteral("^([A-Z]{2})?$")),
         QLatin1String("two capital letters")},
        {Date, QLatin1String("Date"), QRegularExpression(QStringLiteral("^([0-9]{4})?$")),
         QLatin1String("four digits")},
    };
    for (const Shape &shape : shapes) {
        const QString text = textOf(record.at(shape.column));
        if (!matches(text, shape.pattern))
            return QStringLiteral("%1 \"%2\" is not %3").arg(shape.name, text, shape.described);
    }
    return {};
}

// A declaration names where goods are loaded, transshipped and unloaded:
// abroad a seaport (1 in the Function's first place) or an airport (4 in
// its fourth); in Indonesia any place, whatever its function, known or not
// ("0": Parepare IDPAP, a seaport with no other code).
bool namesAPlace(const QString &function, bool domestic)
{
    return domestic || function.startsWith(QLatin1Char('1')) || function.mid(3, 1) == QLatin1String("4");
}

// Windows-1252 at 0x80-0x9F; 0 where it has no character.
constexpr char16_t Windows1252[32]
    = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
       0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
       0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

qsizetype lineAt(const QString &text, qsizetype position)
{
    return 1 + QStringView(text).left(position).count(QLatin1Char('\n'));
}

// Lists are saved on Windows: at 0x80-0x9F, a byte of an 8-bit file, or a
// character of a UTF-8 file converted from one (UNECE's own MQ list spells
// Schœlcher with U+009C), is Windows-1252's character, never an invisible
// control.
QString withWindows1252Characters(QString text, const QString &path)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80 || c > 0x9F)
            continue;
        if (!Windows1252[c - 0x80])
            badLine(path, lineAt(text, i),
                    QStringLiteral("control character U+%1, which is no character of Windows-1252 either")
                        .arg(QString::number(c, 16).toUpper().rightJustified(4, QLatin1Char('0'))));
        text[i] = QChar(Windows1252[c - 0x80]);
    }
    return text;
}

// Each byte as 0-255: char is unsigned on arm64, ppc64el and s390x.
bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A file is wholly in one encoding: a line that differs from the others
// would come out garbled, every "ã" as "Ã£", without a word.
void checkOneEncoding(const QByteArray &data, const QString &path, bool markedUtf8)
{
    qsizetype firstUtf8 = 0;
    qsizetype firstOther = 0;
    qsizetype number = 0;
    for (const QByteArray &line : data.split('\n')) {
        ++number;
        if (isAscii(line))
            continue;
        qsizetype &first = QByteArrayView(line).isValidUtf8() ? firstUtf8 : firstOther;
        if (first == 0)
            first = number;
        if (markedUtf8 && firstOther)
            badLine(path, firstOther, QStringLiteral("not UTF-8, as the file's byte-order mark says it is"));
        if (firstUtf8 && firstOther) {
            const bool utf8Later = firstUtf8 > firstOther;
            badLine(
                path, qMax(firstUtf8, firstOther),
                QStringLiteral("this line is%1 UTF-8, line %2 is%3: a file must be wholly in one encoding")
                    .arg(utf8Later ? QString() : QStringLiteral(" not"))
                    .arg(qMin(firstUtf8, firstOther))
                    .arg(utf8Later ? QStringLiteral(" not") : QString()));
        }
    }
}

// The text of a UN/LOCODE file, and what it was read as: as its byte-order
// mark says; else UTF-8, as lists are today; else, as UNECE's older ones
// are, ISO 8859-1, read as Windows-1252, which it is a part of.
std::pair<QString, QString> decodedLocode(const QByteArray &data, const QString &path)
{
    const auto notRead = [&path](const QString &what) {
        return InputError(QStringLiteral("%1: %2: not an encoding create-source reads; it reads UTF-8, ISO "
                                         "8859-1 (as Windows-1252) and UTF-16 with a byte-order mark")
                              .arg(path, what));
    };
    // UTF-32LE's mark begins as UTF-16LE's does.
    if (data.startsWith(QByteArrayView("\xFF\xFE\0\0", 4))
        || data.startsWith(QByteArrayView("\0\0\xFE\xFF", 4)))
        throw notRead(QStringLiteral("UTF-32, as its byte-order mark says"));
    const bool littleEndian = data.startsWith("\xFF\xFE");
    if (littleEndian || data.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        const QString text = utf16(data.mid(2));
        if (utf16.hasError() || data.size() % 2 != 0 || !QStringView(text).isValidUtf16())
            throw InputError(
                QStringLiteral("%1: not UTF-16, as the file's byte-order mark says it is").arg(path));
        return {text, littleEndian ? QStringLiteral("UTF-16LE") : QStringLiteral("UTF-16BE")};
    }
    // Every ASCII character in UTF-16 and UTF-32 has a NUL beside it; a
    // lone one is bad text, which the line's reading names.
    if (data.count('\0') * 4 >= data.size() && !data.isEmpty())
        throw notRead(QStringLiteral("NUL bytes, as in UTF-16 without a byte-order mark or in UTF-32"));
    const bool markedUtf8 = data.startsWith("\xEF\xBB\xBF");
    const QByteArray body = markedUtf8 ? data.mid(3) : data;
    if (QByteArrayView(body).isValidUtf8())
        return {QString::fromUtf8(body), QStringLiteral("UTF-8")};
    checkOneEncoding(body, path, markedUtf8);
    return {QString::fromLatin1(body), QStringLiteral("Windows-1252")};
}

// A byte-order mark belongs at the start of a file, which decoding drops.
// One further in comes of files joined into one (cat): in front of an
// entry's "X" it would hide the removal.
void refuseInnerByteOrderMark(const QString &text, const QString &path)
{
    // U+FFFE: a mark of the other byte order.
    const auto mark = std::find_if(text.cbegin(), text.cend(),
                                   [](QChar c) { return c == QChar(0xFEFF) || c == QChar(0xFFFE); });
    if (mark != text.cend())
        badLine(path, lineAt(text, mark - text.cbegin()),
                QStringLiteral("a byte-order mark inside the file, which only its start may have: give each "
                               "file with its own --locode, not joined into one"));
}

} // namespace

InputError::InputError(const QString &message) : std::runtime_error(message.toStdString()) { }

CodeList readCodeListFile(const QString &path)
{
    CodeList rows;
    bool headerSeen = false;
    forEachRecord(readWholeFile(path), path, [&](const csv::Record &record, qsizetype line) {
        if (!headerSeen) {
            if (record != csv::Record {QStringLiteral("Kode"), QStringLiteral("Uraian")})
                badLine(path, line, QStringLiteral("the header must be \"Kode,Uraian\""));
            headerSeen = true;
            return;
        }
        if (record.size() != 2)
            badLine(path, line, QStringLiteral("expected 2 fields, found %1").arg(record.size()));
        // The run would store '' as a code in every target; and a code with
        // a blank, or a mark, beside it as a code of its own.
        if (!record.at(0))
            badLine(path, line, QStringLiteral("the code (Kode) is empty"));
        const QString code = *record.at(0);
        if (code.trimmed().isEmpty())
            badLine(path, line, QStringLiteral("the code (Kode) is blank"));
        if (code.trimmed() != code)
            badLine(path, line,
                    QStringLiteral("the code (Kode) \"%1\" begins or ends with a blank").arg(code));
        if (code.contains(QChar(0xFEFF)))
            badLine(path, line,
                    QStringLiteral("the code (Kode) holds a byte-order mark, which only the file's start may "
                                   "have"));
        rows.append({record.at(0), record.at(1)});
    });
    if (!headerSeen)
        throw InputError(
            QStringLiteral("%1: the file is empty (the header \"Kode,Uraian\" is missing)").arg(path));
    if (rows.isEmpty())
        throw InputError(QStringLiteral("%1: the list has no entries, only its header").arg(path));
    return rows;
}

void readLocodeFile(const QString &path, Ports &ports)
{
    readLocodeData(readWholeFile(path), path, ports);
}

void readLocodeData(const QByteArray &data, const QString &path, Ports &ports)
{
    const auto [text, encoding] = decodedLocode(data, path);
    qsizetype entries = 0;
    try {
        refuseInnerByteOrderMark(text, path);
        const QByteArray utf8 = withWindows1252Characters(text, path).toUtf8();
        forEachRecord(utf8, path, [&](const csv::Record &record, qsizetype line) {
            ++entries;
            if (record.size() != LocodeColumns)
                badLine(path, line,
                        QStringLiteral("expected %1 fields, found %2").arg(LocodeColumns).arg(record.size()));
            const QString country = textOf(record.at(Country));
            const QString location = textOf(record.at(Location));
            if (!isCountryAndLocation(country, location))
                badLine(
                    path, line,
                    QStringLiteral("\"%1\" \"%2\" is no country and location code").arg(country, location));
            if (const QString fault = layoutFault(record); !fault.isEmpty())
                badLine(path, line, QStringLiteral("not a line of a UN/LOCODE code list: ") + fault);
            const bool domestic = country == QLatin1String("ID");
            const bool isRemoved
                = textOf(record.at(Change)).compare(QLatin1String("X"), Qt::CaseInsensitive) == 0;
            // A line without a location code names a country, or points to an
            // entry under another country ("Basse-Terre = GP BBR"): no place of its own.
            if (!namesAPlace(textOf(record.at(Function)), domestic) || isRemoved || location.isEmpty())
                return;
            const QString code = country + location;
            const qsizetype known = ports.codes.size();
            ports.codes.insert(code);
            if (ports.codes.size() == known)
                return;
            // A port list stores every port with its name.
            if (textOf(record.at(Name)).trimmed().isEmpty())
                badLine(path, line,
                        QStringLiteral("%1 has no name (Name), which its port list needs").arg(code));
            CodeList &list = domestic ? ports.domestic : ports.foreign;
            list.append({code, record.at(Name)});
        });
    } catch (const InputError &error) {
        throw InputError(QStringLiteral("%1 (read as %2)").arg(error.message(), encoding));
    }
    if (entries == 0)
        throw InputError(
            QStringLiteral("%1: the file is empty, no entry of a UN/LOCODE code list").arg(path));
}

QMap<QString, CodeList> readSourceLists(const QString &folder, const QStringList &locodeFiles)
{
    const QDir dir(folder);
    QMap<QString, CodeList> lists;
    const bool portsFromLocode = !locodeFiles.isEmpty();
    for (const QString &table : lorvanta::sourceTables()) {
        const bool isPortTable = table == QLatin1String("PelDN") || table == QLatin1String("PelLN");
        if (portsFromLocode && isPortTable)
            continue;
        lists.insert(table, readCodeListFile(dir.filePath(table + QStringLiteral(".csv"))));
    }
    if (portsFromLocode) {
        Ports ports;
        for (const QString &file : locodeFiles)
            readLocodeFile(file, ports);
        // A country's file on its own can hold no port; the release as a
        // whole holds both lists. One missing is a file left out.
        for (const auto &[list, where] : {std::pair(&ports.domestic, QLatin1String("in Indonesia (PelDN)")),
                                          std::pair(&ports.foreign, QLatin1String("abroad (PelLN)"))}) {
            if (list->isEmpty())
                throw InputError(
                    QStringLiteral("the --locode files give no port %1: a file of the release is missing")
                        .arg(where));
        }
        lists.insert(QStringLiteral("PelDN"), ports.domestic);
        lists.insert(QStringLiteral("PelLN"), ports.foreign);
    }
    return lists;
}

} // namespace codelists
