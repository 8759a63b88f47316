#pragma once

#include "dbtool/csv.h"

#include <QMap>
#include <QSet>
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

// One code list: header "Kode,Uraian", then two fields a record, each code
// as written: none blank, none with a blank at either end. Blank lines are
// passed over.
CodeList readCodeListFile(const QString &path);

// Ports of UN/LOCODE code-list files, as UNECE publishes them (no header;
// Change, Country, Location, Name, NameWoDiacritics, Subdivision, Function,
// Status, Date, IATA, Coordinates, Remarks; wholly in UTF-8, in ISO 8859-1
// read as Windows-1252, or in what a byte-order mark at its start names,
// UTF-8 or UTF-16 LE or BE, and no mark further in): the
// places a customs declaration names, in file order, Indonesian ones
// (country "ID") apart from the others: in Indonesia every entry, whatever
// its function, elsewhere every seaport ("1" first in Function) or airport
// ("4" fourth); none marked "X" for removal, each with a location code of
// its own and a name. A code keeps its first entry: the lists give some
// places under two names. Blank lines are passed over.
struct Ports
{
    CodeList domestic;
    CodeList foreign;
    QSet<QString> codes;
};
void readLocodeFile(const QString &path, Ports &ports);
// The same for a file's bytes; path names them in messages.
void readLocodeData(const QByteArray &data, const QString &path, Ports &ports);

// All six lists for a source database, keyed by source table name; ports
// from the UN/LOCODE files when any are given.
QMap<QString, CodeList> readSourceLists(const QString &folder, const QStringList &locodeFiles);

} // namespace codelists
