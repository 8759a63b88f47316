#pragma once

#include <optional>
#include <QString>
#include <QStringList>

// The four Lorvanta programs and what their databases hold.
namespace lorvanta {

enum class Program { Roz, Vam, Lug, Soma };

std::optional<Program> programFromName(const QString &name); // "ROZ", "VAM", "LUG", "SOMA"

// The database password each program protects its database with.
QString databasePassword(Program program);

// The reference tables of a program's database; a SOMA database keeps no
// foreign ports.
QStringList referenceTables(Program program);

// Statement that makes one reference table as the programs have it: a unique
// code, a description, and a column the database fills itself.
QString createReferenceTableStatement(const QString &table);

// Makes an empty database of program at path, protected by its password,
// with its reference tables. Throws dataaccess::DataAccessError.
void createTargetDatabase(const QString &path, Program program);

// The source tables of the code lists, in the order the transfer walks them.
QStringList sourceTables();

// Statement that makes one source table (code and description, no key).
QString createSourceTableStatement(const QString &table);

} // namespace lorvanta
