#pragma once

#include "dataaccess/connection.h"
#include "transfer/lorvanta.h"

#include <algorithm>
#include <optional>
#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>

// Databases and files for tests, made through the same code the program uses.
namespace testsupport {

// An empty Lorvanta database of program at path, with its own password.
void makeTarget(const QString &path, lorvanta::Program program);

// A database with one table "Codes (Kode TEXT, Uraian TEXT)" and password.
void makeDatabase(const QString &path, const QString &password, const QStringList &statements);

using CodeRow = std::pair<std::optional<QString>, std::optional<QString>>;
using CodeLists = QMap<QString, QList<CodeRow>>;

// A source database like NewCodes.mdb: the six tables, holding lists (by
// table name; a table left out of lists is empty). Tables named in
// leaveOut are not made at all.
void makeSource(const QString &path, const CodeLists &lists, const QStringList &leaveOut = {});

// The rows of a table: (KdEdi, Uredi) of a target, (Kode, Uraian) of a source.
QList<CodeRow> tableRows(const QString &path, const QString &password, const QString &table);

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

// Writes 16 KiB of garbage over the middle of a file of over 40 KB, in place:
// the pages there are damaged, the header is not. False when it cannot.
bool garbleMiddle(const QString &path);

// Makes a file unwritable even for root (immutable attribute there), or a
// folder one where no file can be made or removed; false when the platform
// offers no way.
bool makeReadOnly(const QString &path);
void makeWritable(const QString &path);

// Runs statements on an existing database, then commits and closes it.
void executeStatements(const QString &path, const QString &password, const QStringList &statements);

// True when this process has let go of the file: none of its descriptors
// refers to it, and, for a database, another process (dbhelper) takes an
// exclusive lock on it at once.
bool isReleased(const QString &path);

// "ok" when SQLite finds nothing wrong in the file.
QString integrityCheck(const QString &path);

// Milliseconds on the monotonic clock (steady_clock is CLOCK_MONOTONIC
// here), one clock for every process.
qint64 monotonicMilliseconds();

// The seed of a test's random choices, which it prints, so that a failure
// can be replayed: VALDOREN_SEED when set, else taken from the clock.
inline quint64 testSeed()
{
    static const quint64 seed = qEnvironmentVariableIsSet("VALDOREN_SEED")
        ? qEnvironmentVariable("VALDOREN_SEED").toULongLong()
        : static_cast<quint64>(QDateTime::currentMSecsSinceEpoch());
    return seed;
}

// How many of a writer's progress reports (in order, each made after the
// statements it reports) a commit by age has surely saved: those followed
// by one made over the commit interval later, and by one more after it.
template<typename Reports, typename MomentOf> qsizetype surelySaved(const Reports &reports, MomentOf momentOf)
{
    if (reports.size() < 2)
        return 0;
    const qint64 latest = momentOf(reports.at(reports.size() - 2))
        - dataaccess::Connection::CommitInterval.count() - 5; // the clocks round apart
    return std::partition_point(reports.cbegin(), reports.cend(),
                                [&](const auto &report) { return momentOf(report) <= latest; })
        - reports.cbegin();
}

// Path of a program built next to the tests.
QString builtProgram(const QString &name);

} // namespace testsupport
