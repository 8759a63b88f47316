#pragma once

#include "transfer/escapedcontrols.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace dataaccess {
class Connection;
}

// The commands of valdoren-db, the operators' and tests' tool for making and
// reading databases.
namespace dbcommands {

using transfer::escapedControls;

// Bad input of any kind; the message is one line for the operator.
class CommandError : public std::runtime_error
{
public:
    explicit CommandError(const QString &message) : std::runtime_error(message.toStdString()) { }
};

QString usage();

// Exit statuses: 0 done (compare: no code missing; changes: the sources
// hold the same codes; transfer: every target "Selesai"), 1 compare found
// codes missing, changes found a difference or a transfer did not complete,
// 2 an error; a transfer stopped by a signal, 128 + its number.
constexpr int Done = 0;
constexpr int CodesMissing = 1;
constexpr int Differ = 1;
constexpr int NotAllCompleted = 1;
constexpr int Failed = 2;
constexpr int StoppedBySignal = 128;

// Runs the command named by arguments (without the program name), writes
// its output to out, and returns its exit status. Throws CommandError.
int run(const QStringList &arguments, QIODevice &out);

void createTarget(const QString &path, const QString &programName);
void createSource(const QString &path, const QString &folder, const QStringList &locodeFiles);
// A table as CSV, read without changing the file; with an empty password
// from a source. On a terminal, names with their controls escaped.
void dump(const QString &path, const QString &table, const QString &password, QIODevice &out);

// What a run left: for each category, in the run's order, the codes of the
// source, those present in the target, those missing, and those present
// with another description than the run stores (the source's, cut to the
// category's limit); then the totals. With listCodes also each code
// missing ("+", as a run would add it) and each code with another
// description ("~", the target's, then the source's). Reads both files
// without changing them, also while another program writes to them. An
// empty password means the one the run uses for the target. True when no
// code is missing.
bool compare(const QString &sourcePath, const QString &targetPath, const QString &password, bool listCodes,
             QIODevice &out);

// What the source database newPath brings against oldPath: for each
// category, in the run's order, the codes added, withdrawn and changed (the
// same code with another description), then the totals; with listCodes
// also each code, with its description. True when anything differs.
bool changes(const QString &oldPath, const QString &newPath, bool listCodes, QIODevice &out);

// Opens the source (NewCodes.mdb) at path, with its empty password, for
// reading only. A Lorvanta database there is refused as what it is, with
// hint after, not as one whose password does not match.
void openSource(dataaccess::Connection &db, const QString &path, const QString &hint = {});

// The window's transfer run on each target in turn, with the categories of
// onlyTables ticked (source table names; all six when empty) and each
// target's own password unless one is given. One line a target on out: the
// target as given, then the run's outcome, "Selesai", "Proses dibatalkan"
// or the window's message, in the window's language, control characters
// escaped. On a terminal a progress line goes to standard error. SIGINT,
// SIGTERM or SIGHUP stops the run as Cancel does, and the targets after it
// are not started. Returns the exit status. Throws CommandError, before any
// target is touched, for an unknown category or a source that cannot be
// read whole; and when a line cannot be written, before the next target.
int transfer(const QString &sourcePath, const QStringList &targets, const QStringList &onlyTables,
             const QString &password, QIODevice &out);

} // namespace dbcommands
