#include "dbtool/consolerunwindow.h"
#include "dbtool/dbcommands.h"
#include "dbtool/stopsignals.h"

#include "dataaccess/connection.h"
#include "dataaccess/recordset.h"
#include "transfer/codecategory.h"
#include "transfer/lorvanta.h"
#include "transfer/transferrun.h"
#include "transfer/windowlanguage.h"

#include <csignal>
#include <cstdio>
#include <QFileDevice>
#include <unistd.h>

namespace dbcommands {

namespace {

QSet<QString> tickedTables(const QStringList &onlyTables)
{
    const QStringList all = lorvanta::sourceTables();
    if (onlyTables.isEmpty())
        return QSet<QString>(all.cbegin(), all.cend());
    QSet<QString> ticked;
    for (const QString &table : onlyTables) {
        if (!all.contains(table))
            throw CommandError(QStringLiteral("unknown category \"%1\" (%2)")
                                   .arg(escapedControls(table), all.join(QLatin1Char(','))));
        ticked.insert(table);
    }
    return ticked;
}

// Read whole, every row the run reads, and let go, before any target is
// touched: a source that cannot be read would fail every target the same
// way, one damaged past its first pages each halfway through.
void checkSource(const QString &sourcePath, const QSet<QString> &ticked)
{
    dataaccess::Connection source;
    try {
        openSource(source, sourcePath);
    } catch (const dataaccess::DataAccessError &failure) {
        throw CommandError(escapedControls(failure.description()));
    }
    for (const transfer::CodeCategory &category : transfer::codeCategories()) {
        if (!ticked.contains(category.sourceTable))
            continue;
        try {
            dataaccess::Recordset rows;
            for (rows.open(category.sourceQuery(), source); !rows.eof(); rows.moveNext()) {
                rows.field(QStringLiteral("Kode"));
                rows.field(QStringLiteral("Uraian"));
            }
        } catch (const dataaccess::DataAccessError &failure) {
            throw CommandError(
                escapedControls(QStringLiteral("%1: table %2 cannot be read: %3")
                                    .arg(sourcePath, category.sourceTable, failure.description())));
        }
    }
}

// One line a target, as a terminal must show it: the window's line breaks
// as spaces, and every control character, those of the paths first, as
// \xNN. Scripts read each line as it comes; a line that cannot be written
// (a full disk, a closed pipe) ends the command, before another target is
// touched.
void writeLine(QIODevice &out, const QString &target, QString outcome, const QString &sourcePath)
{
    for (const QString &path : {target, sourcePath}) {
        if (!path.isEmpty())
            outcome.replace(path, escapedControls(path));
    }
    const QString line = escapedControls(target) + QStringLiteral(": ")
        + escapedControls(outcome.replace(QLatin1Char('\n'), QLatin1Char(' ')));
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    auto *file = qobject_cast<QFileDevice *>(&out);
    if (out.write(bytes) != bytes.size() || (file && !file->flush()))
        throw CommandError(
            QStringLiteral("the line \"%1\" cannot be written (%2); no target after it is started")
                .arg(line, out.errorString()));
}

QString signalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    default:
        return QStringLiteral("SIGHUP");
    }
}

} // namespace

int transfer(const QString &sourcePath, const QStringList &targets, const QStringList &onlyTables,
             const QString &password, QIODevice &out)
{
    const QSet<QString> ticked = tickedTables(onlyTables);
    checkSource(sourcePath, ticked);
    transfer::useWindowLanguage();
    std::FILE *progress = ::isatty(STDERR_FILENO) ? stderr : nullptr;
    const StopSignals stopSignals;
    bool allCompleted = true;
    for (const QString &target : targets) {
        if (const int signal = StopSignals::received()) {
            writeLine(out, target,
                      QStringLiteral("not started, the transfer was stopped by %1").arg(signalName(signal)),
                      sourcePath);
            continue;
        }
        QString outcome;
        bool completed = false;
        {
            ConsoleRunWindow window(target, ticked, progress);
            transfer::TransferRun run(window, sourcePath);
            if (!password.isEmpty())
                run.setTargetPassword(password);
            completed = run.run() == transfer::TransferRun::Outcome::Completed;
            outcome = window.outcome();
        }
        allCompleted = allCompleted && completed;
        writeLine(out, target, outcome, sourcePath);
    }
    if (const int signal = StopSignals::received())
        return StoppedBySignal + signal;
    return allCompleted ? Done : NotAllCompleted;
}

} // namespace dbcommands
