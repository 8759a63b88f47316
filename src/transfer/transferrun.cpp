#include "transfer/transferrun.h"

#include "dataaccess/connectionstring.h"
#include "transfer/codecategory.h"
#include "transfer/lorvanta.h"
#include "transfer/programfiles.h"
#include "transfer/runwindow.h"

namespace transfer {

namespace {

using dataaccess::DataAccessError;

// The data layer names the file, or the query, at the head of its reasons;
// the messages here name them themselves, and give the reason a line, as a
// sentence, of its own.
QString reasonOf(const DataAccessError &failure, std::initializer_list<QString> named)
{
    QString reason = failure.description();
    for (const QString &name : named) {
        const QString prefix = name + QStringLiteral(": ");
        if (reason.startsWith(prefix))
            reason = reason.mid(prefix.size());
    }
    if (!reason.isEmpty())
        reason[0] = reason.at(0).toUpper();
    return reason;
}

// What SQLite's quick check finds wrong in a table and its indexes, the
// first finding in its own words; empty when nothing is.
QString damageIn(const dataaccess::Connection &db, const QString &table)
{
    dataaccess::Recordset check;
    check.open(QStringLiteral("PRAGMA quick_check(%1)").arg(table), db);
    const QString finding = check.field(QStringLiteral("quick_check")).value_or(QString());
    return finding == QLatin1String("ok") ? QString() : finding;
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
    if (!isOrdinaryFile(m_targetPath)) {
        m_window.showMessage(QStringLiteral("Tidak ada file ") + m_targetPath);
        return false;
    }
    return true;
}

void TransferRun::openTarget()
{
    const auto program = isSomaTarget(m_targetPath) ? lorvanta::Program::Soma : lorvanta::Program::Roz;
    openDatabase(cnTarget, m_targetPath, m_targetPassword.value_or(lorvanta::databasePassword(program)));
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
    openDatabase(cnSource, m_sourcePath, QString());
}

void TransferRun::openDatabase(dataaccess::Connection &connection, const QString &path,
                               const QString &password)
{
    connection.setConnectionString(connectionStringFor(path, password));
    try {
        connection.open();
    } catch (const DataAccessError &failure) {
        failWith(tr("Database %1 cannot be opened.\n%2").arg(path, reasonOf(failure, {path})));
    }
}

// A failure to read the source, at its open or at any row, names the table;
// the target's failures are named where the row is stored.
void TransferRun::transferCategory(const CodeCategory &category)
{
    if (!m_window.isTicked(category))
        return;
    if (category.skippedForSoma && isSomaTarget(m_targetPath))
        return;
    m_window.categoryStarts(category);
    m_writtenTables << category.targetTable;
    try {
        for (rsSource.open(category.sourceQuery(), cnSource); !rsSource.eof(); rsSource.moveNext())
            transferRow(category);
    } catch (const DataAccessError &failure) {
        stopIfInterrupted(failure);
        failWith(tr("Table %1 in %2 cannot be read.\n%3")
                     .arg(category.sourceTable, m_sourcePath,
                          reasonOf(failure, {m_sourcePath, category.sourceQuery()})));
    }
}

void TransferRun::transferRow(const CodeCategory &category)
{
    const std::optional<QString> code = rsSource.field(QStringLiteral("Kode"));
    const std::optional<QString> description = rsSource.field(QStringLiteral("Uraian"));
    try {
        cnTarget.execute(insertStatement(category, code, description));
    } catch (const DataAccessError &failure) {
        // A refused row (its code is there already, say) is skipped quietly.
        stopIfInterrupted(failure);
        if (!failure.isRowRefusal())
            failWith(tr("Saving to table %1 in %2 failed.\n%3")
                         .arg(category.targetTable, m_targetPath, reasonOf(failure, {m_targetPath})));
    }
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
// has in memory.
void TransferRun::checkWrittenTables()
{
    try {
        cnTarget.commit();
        cnTarget.forgetCachedPages();
    } catch (const DataAccessError &failure) {
        failWith(
            tr("Saving to database %1 failed.\n%2").arg(m_targetPath, reasonOf(failure, {m_targetPath})));
    }
    for (const QString &table : std::as_const(m_writtenTables)) {
        QString damage;
        try {
            damage = damageIn(cnTarget, table);
        } catch (const DataAccessError &failure) {
            stopIfInterrupted(failure);
            failWith(tr("Table %1 in %2 cannot be read.\n%3")
                         .arg(table, m_targetPath, reasonOf(failure, {m_targetPath})));
        }
        if (!damage.isEmpty())
            failWith(tr("Database %1 is damaged: restore it from a backup.\nTable %2 fails the check (%3)")
                         .arg(m_targetPath, table, damage));
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
        return tr("Saving to database %1 failed.\n%2").arg(m_targetPath, reasonOf(failure, {m_targetPath}));
    }
    return {};
}

} // namespace transfer
