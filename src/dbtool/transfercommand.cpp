#include "dbtool/consolerunwindow.h"
#include "dbtool/dbcommands.h"
#include "dbtool/stopsignals.h"

#include "dataaccess/connection.h"
#include "dataaccess/connectionstring.h"
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
            throw CommandError(
                QStringLiteral("unknown category \"%1\" (%2)").arg(table, all.join(QLatin1Char(','))));
        ticked.insert(table);
    }
    return ticked;
}

// Read, as the run reads it, and let go at once; a source that cannot be
// read fails every target the same way.
void checkSource(const QString &sourcePath)
{
    try {
        dataaccess::Connection source;
        source.setConnectionString(dataaccess::ConnectionString::forJet(sourcePath, QString())
                                   + QStringLiteral("Mode=Read;"));
        source.open();
        source.close();
    } catch (const dataaccess::DataAccessError &failure) {
        throw CommandError(failure.description());
    }
}

// Scripts read each line as it comes.
void writeLine(QIODevice &out, const QString &target, const QString &outcome)
{
    out.write((target + QStringLiteral(": ") + outcome + QLatin1Char('\n')).toUtf8());
    if (auto *file = qobject_cast<QFileDevice *>(&out))
        file->flush();
}

QString signalName(int signal)
{
    return signal == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM");
}

} // namespace

int transfer(const QString &sourcePath, const QStringList &targets, const QStringList &onlyTables,
             const QString &password, QIODevice &out)
{
    const QSet<QString> ticked = tickedTables(onlyTables);
    checkSource(sourcePath);
    transfer::useWindowLanguage();
    std::FILE *progress = ::isatty(STDERR_FILENO) ? stderr : nullptr;
    const StopSignals stopSignals;
    bool allCompleted = true;
    for (const QString &target : targets) {
        if (const int signal = StopSignals::received()) {
            writeLine(out, target,
                      QStringLiteral("not started, the transfer was stopped by %1").arg(signalName(signal)));
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
        writeLine(out, target, outcome);
    }
    if (const int signal = StopSignals::received())
        return StoppedBySignal + signal;
    return allCompleted ? Done : NotAllCompleted;
}

} // namespace dbcommands
