#include "dbtool/codelistfiles.h"

#include "transfer/lorvanta.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace codelists {

namespace {

constexpr int LocodeColumns = 12;
enum LocodeColumn { Change = 0, Country = 1, Location = 2, Name = 3, Function = 6, Status = 7, Date = 8 };

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw InputError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    return file.readAll();
}

// path names the data in messages.
template<typename Handle> void forEachRecord(const QByteArray &data, const QString &path, Handle handle)
{
    csv::Reader reader(data);
    csv::Record record;
    try {
        while (reader.next(record))
            handle(record, reader.recordLine());
    } catch (const csv::ParseError &error) {
        throw InputError(QStringLiteral("%1:%2: %3").arg(path).arg(error.line()).arg(error.message()));
    }
}

[[noreturn]] void badLine(const QString &path, qsizetype line, const QString &why)
{
    throw InputError(QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(why));
}

QString textOf(const csv::Field &field)
{
    return field.value_or(QString());
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
    static const Shape shapes[] = {
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
// its fourth); in Indonesia also a rail or road terminal, a post office, a
// multimodal or fixed transport terminal or a border crossing, any known
// function (1-7 or B; 0 is "not known").
bool namesAPlace(const QString &function, bool domestic)
{
    if (!domestic)
        return function.startsWith(QLatin1Char('1')) || function.mid(3, 1) == QLatin1String("4");
    static const QRegularExpression knownFunction(QStringLiteral("[1-7B]"));
    return function.contains(knownFunction);
}

// The lists come in UTF-8 and, from UNECE, in ISO 8859-1; bytes that are
// no UTF-8 can only be the latter. The data as UTF-8, and which it was.
std::pair<QByteArray, QString> asUtf8(const QByteArray &data)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(data);
    if (!utf8.hasError())
        return {data, QStringLiteral("UTF-8")};
    return {QString::fromLatin1(data).toUtf8(), QStringLiteral("ISO 8859-1")};
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
        rows.append({record.at(0), record.at(1)});
    });
    if (!headerSeen)
        throw InputError(
            QStringLiteral("%1: the file is empty (the header \"Kode,Uraian\" is missing)").arg(path));
    return rows;
}

void readLocodeFile(const QString &path, Ports &ports)
{
    readLocodeData(readWholeFile(path), path, ports);
}

void readLocodeData(const QByteArray &data, const QString &path, Ports &ports)
{
    const auto [utf8, encoding] = asUtf8(data);
    try {
        forEachRecord(utf8, path, [&](const csv::Record &record, qsizetype line) {
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
            CodeList &list = domestic ? ports.domestic : ports.foreign;
            list.append({code, record.at(Name)});
        });
    } catch (const InputError &error) {
        throw InputError(QStringLiteral("%1 (read as %2)").arg(error.message(), encoding));
    }
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
        lists.insert(QStringLiteral("PelDN"), ports.domestic);
        lists.insert(QStringLiteral("PelLN"), ports.foreign);
    }
    return lists;
}

} // namespace codelists
