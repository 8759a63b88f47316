#pragma once

#include "dbtool/csv.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Reading the inputs of a source database: the code-list CSV files and the
// official UN/LOCODE code lists.
namespace codelists {

struct CodeRow
{
    csv::Field code;
    csv::Field description;
};
using CodeList = QList<CodeRow>;

// A bad input file, with the file and line to look at.
class InputError : public std::runtime_error
{
public:
    explicit InputError(const QString &message);
    QString message() const { return QString::fromStdString(what()); }
};

// One code list: header "Kode,Uraian", then two fields a record.
CodeList readCodeListFile(const QString &path);

// Ports of UN/LOCODE files (no header; Change, Country, Location, Name,
// NameWoDiacritics, Subdivision, Function, Status, Date, IATA, Coordinates,
// Remarks): entries whose Function starts with "1", whose Change is not "X"
// and that have a location code of their own, in file order, Indonesian ones (country "ID") apart from the
// others.
struct Ports
{
    CodeList domestic;
    CodeList foreign;
};
void readLocodeFile(const QString &path, Ports &ports);
// The same for a file's bytes; path names them in messages.
void readLocodeData(const QByteArray &data, const QString &path, Ports &ports);

// All six lists for a source database, keyed by source table name; ports
// from the UN/LOCODE files when any are given.
QMap<QString, CodeList> readSourceLists(const QString &folder, const QStringList &locodeFiles);

} // namespace codelists
