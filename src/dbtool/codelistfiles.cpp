#include "dbtool/codelistfiles.h"

#include "transfer/lorvanta.h"

#include <QDir>
#include <QFile>

namespace codelists {

namespace {

constexpr int LocodeColumns = 12;
enum LocodeColumn { Change = 0, Country = 1, Location = 2, Name = 3, Function = 6 };

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

// UN/LOCODE codes: two letters for the country, three letters or digits
// 2 to 9 for the location.
bool isCode(const QString &text, int length, bool digitsToo)
{
    if (text.size() != length)
        return false;
    for (const QChar c : text) {
        const bool letter = c >= QLatin1Char('A') && c <= QLatin1Char('Z');
        const bool digit = c >= QLatin1Char('2') && c <= QLatin1Char('9');
        if (!letter && !(digitsToo && digit))
            return false;
    }
    return true;
}

QString textOf(const csv::Field &field)
{
    return field.value_or(QString());
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
    forEachRecord(data, path, [&](const csv::Record &record, qsizetype line) {
        if (record.size() != LocodeColumns)
            badLine(path, line,
                    QStringLiteral("expected %1 fields, found %2").arg(LocodeColumns).arg(record.size()));
        const QString country = textOf(record.at(Country));
        const QString location = textOf(record.at(Location));
        const bool isPort = textOf(record.at(Function)).startsWith(QLatin1Char('1'));
        const bool isRemoved = textOf(record.at(Change)) == QLatin1String("X");
        // A line without a location code names a country, or points to an
        // entry under another country ("Basse-Terre = GP BBR"): no port of its own.
        if (!isPort || isRemoved || location.isEmpty())
            return;
        if (!isCode(country, 2, false) || !isCode(location, 3, true))
            badLine(path, line,
                    QStringLiteral("\"%1\" \"%2\" is no country and location code").arg(country, location));
        CodeList &list = country == QLatin1String("ID") ? ports.domestic : ports.foreign;
        list.append({country + location, record.at(Name)});
    });
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
