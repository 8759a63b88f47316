#pragma once

#include "transfer/lorvanta.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Databases and files for tests, made through the same code the program uses.
namespace testsupport {

// An empty Lorvanta database of program at path, with its own password.
void makeTarget(const QString &path, lorvanta::Program program);

// A database with one table "Codes (Kode TEXT, Uraian TEXT)" and password.
void makeDatabase(const QString &path, const QString &password, const QStringList &statements);

QString jetConnectionString(const QString &path, const QString &password);

// Everything that writing to a file would change.
struct FileSnapshot
{
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileSnapshot &other) const
    {
        return bytes == other.bytes && modified == other.modified;
    }
};
FileSnapshot snapshot(const QString &path);

void writeFile(const QString &path, const QByteArray &bytes);

// Makes a file unwritable even for root (immutable attribute there); false
// when the platform offers no way.
bool makeReadOnly(const QString &path);
void makeWritable(const QString &path);

// "ok" when SQLite finds nothing wrong in the file.
QString integrityCheck(const QString &path);

// Path of a program built next to the tests.
QString builtProgram(const QString &name);

} // namespace testsupport
