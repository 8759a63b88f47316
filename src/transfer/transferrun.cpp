#include "transfer/transferrun.h"

#include "dataaccess/connectionstring.h"
#include "dataaccess/databasefile.h"
#include "dataaccess/windowspath.h"
#include "transfer/codecategory.h"
#include "transfer/lorvanta.h"
#include "transfer/programfiles.h"
#include "transfer/runwindow.h"

namespace transfer {

namespace {

using dataaccess::DataAccessError;

// A reason as a sentence of its own: capitalised, and ended, after SQLite's
// own words in parentheses, by a full stop.
QString sentence(QString reason)
{
    if (reason.isEmpty())
        return reason;
    reason[0] = reason.at(0).toUpper();
    return reason.endsWith(QLatin1Char('.')) ? reason : reason + QLatin1Char('.');
}

// Ok again meets what only the administrator can mend as it was.
bool okAgainMeetsTheSame(dataaccess::Remedy remedy)
{
    return remedy == dataaccess::Remedy::MendTables || remedy == dataaccess::Remedy::MendDatabase;
}

QString quickCheckOf(const QString &table)
{
    return QStringLiteral("PRAGMA quick_check(%1)").arg(table);
}

// What SQLite's quick check finds wrong in a table and its indexes, the
// first finding in its own words; empty when nothing is.
QString damageIn(const dataaccess::Connection &db, const QString &table)
{
    dataaccess::Recordset check;
    check.open(quickCheckOf(table), db);
    const QString finding = check.field(QStringLiteral("quick_check")).value_or(QString());
    return finding == QLatin1String("ok") ? QString() : finding.simplified();
}

} // namespace

TransferRun::TransferRun(RunWindow &window, const QString &sourcePath)
    : m_window(window), m_sourcePath(sourcePath)
{ }

QString TransferRun::connectionStringFor(const QString &path, const QString &password)
{
    return dataaccess::ConnectionString::forJet(path, password);
}

TransferRun::Outcome TransferRun::run()
{
    if (!passesChecks())
        return Outcome::NotStarted;
    try {
        openTarget();
        startRunProper();
        openSource();
        advanceProgress();
        const auto &categories = codeCategories();
        for (std::size_t i = 0; i < categories.size(); ++i) {
            transferCategory(categories[i]);
            checkForStopRequest();
            if (i + 1 < categories.size())
                advanceProgress();
        }
        complete();
        return Outcome::Completed;
    } catch (const Stop &) {
        stoppedEnding();
        return Outcome::Stopped;
    }
}

bool TransferRun::passesChecks()
{
    bool anyTicked = false;
    for (const CodeCategory &category : codeCategories())
        anyTicked = anyTicked || m_window.isTicked(category);
    if (!anyTicked) {
        m_window.showMessage(QStringLiteral("Tidak ada data yang dipilih."));
        return false;
    }
    m_targetPath = m_window.targetPath();
    // Looked up once: a drive path takes a walk through the Wine prefix.
    m_targetFile = dataaccess::localFilePath(m_targetPath);
    m_somaTarget = isSomaTarget(m_targetFile);
    // A file the user may not reach is there for all the operator knows:
    // opening it tells why it cannot be used.
    if (!isOrdinaryFile(m_targetFile) && !dataaccess::isAccessRefused(m_targetFile)) {
        m_window.showMessage(QStringLiteral("Tidak ada file ") + m_targetPath);
        return false;
    }
    return true;
}

void TransferRun::openTarget()
{
    const auto program = m_somaTarget ? lorvanta::Program::Soma : lorvanta::Program::Roz;
    openDatabase(cnTarget, m_targetPath, m_targetFile,
                 m_targetPassword.value_or(lorvanta::databasePassword(program)), Role::Target);
}

void TransferRun::startRunProper()
{
    // A statement or read that runs long (the target's triggers, a view)
    // still lets the window paint, and a stop request ends it.
    const auto whileBusy = [this] {
        m_window.yield();
        return m_window.stopFlag();
    };
    cnTarget.setWhileBusy(whileBusy);
    cnSource.setWhileBusy(whileBusy);
    m_window.setStopFlag(false);
    m_window.setSelectionEnabled(false);
    m_window.setOkEnabled(false);
    m_step = 100.0 / 6.0;
    m_window.setProgressValue(0.0f);
}

void TransferRun::openSource()
{
    openDatabase(cnSource, m_sourcePath, m_sourcePath, QString(), Role::Source);
}

// path names the database in the message; file is where it lies.
void TransferRun::openDatabase(dataaccess::Connection &connection, const QString &path, const QString &file,
                               const QString &password, Role role)
{
    connection.setConnectionString(connectionStringFor(file, password));
    try {
        connection.open();
    } catch (const DataAccessError &failure) {
        failWith(tr("Database %1 cannot be opened.").arg(path) + QLatin1Char('\n')
                 + explained(failure, role));
    }
}

// The reason, what was lost, and what the operator can do about it; the
// remedy of a failure of NewCodes.mdb itself is its package's.
QString TransferRun::explained(const DataAccessError &failure, Role role) const
{
    QStringList lines {sentence(failure.reason())};
    if (failure.notKept() > 0)
        lines << tr("%n code(s) read since the last save were not saved.", nullptr,
                    static_cast<int>(failure.notKept()));
    const bool sourceAtFault = role == Role::Source
        && failure.remedy() != dataaccess::Remedy::CloseOtherProgram
        && failure.remedy() != dataaccess::Remedy::GetAccess;
    const QString whatToDo = sourceAtFault ? tr("'NewCodes.mdb' comes with the package valdoren-codes: ask "
                                                "the administrator to install valdoren-codes again.")
                                           : advice(failure.remedy());
    if (!whatToDo.isEmpty())
        lines << whatToDo;
    if (m_codesOffered) {
        QString saved = tr("The codes that were saved, if any, stay in the database.");
        if (sourceAtFault || !okAgainMeetsTheSame(failure.remedy()))
            saved += QLatin1Char(' ')
                + tr("Once the cause is mended, pressing Ok again is safe: codes already there are skipped.");
        lines << saved;
    }
    return lines.join(QLatin1Char('\n'));
}

QString TransferRun::advice(dataaccess::Remedy remedy)
{
    switch (remedy) {
    case dataaccess::Remedy::CloseOtherProgram:
        return tr("Close that program, then press Ok again.");
    case dataaccess::Remedy::MakeWritable:
        return tr("The file and its folder must be made writable: ask the administrator.");
    case dataaccess::Remedy::PickOtherFile:
        return tr("Pick the database of the Lorvanta program (dbROZ.mdb, dbVAM.mdb, dbLUG.mdb or "
                  "dbSOMA.mdb) under its own name.");
    case dataaccess::Remedy::PrepareDatabase:
        return tr("Ask the administrator to prepare a database that this program can use.");
    case dataaccess::Remedy::MendTables:
        return tr("Ask the administrator to mend the database: its tables are not as its Lorvanta program "
                  "makes them.");
    case dataaccess::Remedy::MendDatabase:
        return tr("Ask the administrator to mend the database.");
    case dataaccess::Remedy::GetAccess:
        return tr("Ask the administrator to give you access to the file and its folder.");
    case dataaccess::Remedy::MakeRoom:
        return tr("Make room on the disk, then press Ok again.");
    case dataaccess::Remedy::RestoreBackup:
        return tr("Restore the database from a backup.");
    case dataaccess::Remedy::AskAdministrator:
        return tr("Ask the administrator to mend this.");
    case dataaccess::Remedy::None:
        break;
    }
    return {};
}

// A failure to read the source, at its open or at any row, names the table;
// the target's failures are named where the row is stored.
void TransferRun::transferCategory(const CodeCategory &category)
{
    if (!m_window.isTicked(category))
        return;
    if (category.skippedForSoma && m_somaTarget)
        return;
    m_window.categoryStarts(category);
    try {
        for (rsSource.open(category.sourceQuery(), cnSource); !rsSource.eof(); rsSource.moveNext())
            transferRow(category);
    } catch (const DataAccessError &failure) {
        stopIfInterrupted(failure);
        failWith(tr("Table %1 in %2 cannot be read.").arg(category.sourceTable, m_sourcePath)
                 + QLatin1Char('\n') + explained(failure, Role::Source));
    }
}

void TransferRun::transferRow(const CodeCategory &category)
{
    const std::optional<QString> code = rsSource.field(QStringLiteral("Kode"));
    const std::optional<QString> description = rsSource.field(QStringLiteral("Uraian"));
    m_codesOffered = true;
    try {
        cnTarget.execute(insertStatement(category, code, description));
    } catch (const DataAccessError &failure) {
        // A row whose code is there already is skipped quietly; a row refused
        // for any other reason would be refused for every code.
        stopIfInterrupted(failure);
        if (!failure.isDuplicateKey())
            failWith(tr("Saving to table %1 in %2 failed.").arg(category.targetTable, m_targetPath)
                     + QLatin1Char('\n') + explained(failure, Role::Target));
    }
    // The table took the statement, or already had its code: the check at
    // the end looks there, and only where a statement ran.
    if (m_writtenTables.isEmpty() || m_writtenTables.last() != category.targetTable)
        m_writtenTables << category.targetTable;
    m_window.yield();
    m_window.setStatusLine(statusLine(code, description));
    checkForStopRequest();
}

// Reads the bar's single-precision value, adds in double precision, stores
// the sum rounded to single: six steps leave 99.99999, not 100.
void TransferRun::advanceProgress()
{
    const double sum = static_cast<double>(m_window.progressValue()) + m_step;
    m_window.setProgressValue(static_cast<float>(sum));
}

void TransferRun::checkForStopRequest() const
{
    if (m_window.stopFlag())
        throw Stop {};
}

// The operator's stop request ended the statement: nothing to tell.
void TransferRun::stopIfInterrupted(const DataAccessError &failure) const
{
    if (failure.kind() == dataaccess::FailureKind::Interrupted)
        throw Stop {};
}

// A table damaged under the run (another program writing over the file, a
// failing disk) may take rows without a complaint: once they are saved, a
// check of the tables written, cheap beside one of the whole file, finds it
// before "Selesai" is said. It reads the file itself, not the pages the run
// has in memory. The save itself fails, too, when the file is no longer at
// its path, even with nothing left to save.
void TransferRun::checkWrittenTables()
{
    try {
        cnTarget.commit();
        cnTarget.forgetCachedPages();
    } catch (const DataAccessError &failure) {
        failWith(savingFailed(failure));
    }
    for (const QString &table : std::as_const(m_writtenTables)) {
        QString damage;
        try {
            damage = damageIn(cnTarget, table);
        } catch (const DataAccessError &failure) {
            stopIfInterrupted(failure);
            failWith(tr("Table %1 in %2 cannot be read.").arg(table, m_targetPath) + QLatin1Char('\n')
                     + explained(failure, Role::Target));
        }
        if (!damage.isEmpty())
            failWith(
                tr("Database %1 is damaged.\nTable %2 fails the check (%3).").arg(m_targetPath, table, damage)
                + QLatin1Char('\n') + advice(dataaccess::Remedy::RestoreBackup));
    }
}

void TransferRun::complete()
{
    checkWrittenTables();
    const QString releaseFailure = releaseAll();
    if (!releaseFailure.isEmpty())
        failWith(releaseFailure);
    m_window.setStopFlag(true);
    m_window.setSelectionEnabled(true);
    m_window.setOkEnabled(true);
    m_window.setCancelCaption(QStringLiteral("Close"));
    m_window.setStatusLine(QStringLiteral("Selesai"));
    m_window.showMessage(QStringLiteral("Selesai"));
}

void TransferRun::failWith(const QString &message)
{
    m_window.showMessage(message);
    throw Stop {};
}

void TransferRun::stoppedEnding()
{
    m_window.setProgressValue(0.0f);
    m_window.setStatusLine(QStringLiteral("Proses dibatalkan"));
    m_window.setStopFlag(true);
    m_window.setSelectionEnabled(true);
    m_window.setOkEnabled(true);
    // Rows stored before the stop are kept; should even that fail, say so.
    const QString releaseFailure = releaseAll();
    if (!releaseFailure.isEmpty())
        m_window.showMessage(releaseFailure);
}

// Nothing is ever written to the source, so closing it has nothing to lose.
void TransferRun::closeSource() noexcept
{
    try {
        cnSource.close();
    } catch (const DataAccessError &failure) {
        qWarning("Closing %s failed: %s", qPrintable(m_sourcePath), failure.what());
    }
}

// Releases the reader, then the source, then the target, whose close
// commits its last rows; when that fails, the message to show.
QString TransferRun::releaseAll()
{
    rsSource.close();
    closeSource();
    try {
        cnTarget.close();
    } catch (const DataAccessError &failure) {
        return savingFailed(failure);
    }
    return {};
}

QString TransferRun::savingFailed(const DataAccessError &failure) const
{
    return tr("Saving to database %1 failed.").arg(m_targetPath) + QLatin1Char('\n')
        + explained(failure, Role::Target);
}

} // namespace transfer
