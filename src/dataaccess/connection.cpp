#include "dataaccess/connection.h"

#include "dataaccess/connectionstring.h"
#include "dataaccess/databasefile.h"
#include "dataaccess/passwordverifier.h"
#include "dataaccess/recordset.h"
#include "dataaccess/windowspath.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSqlDriver>
#include <QSqlError>
#include <sqlite3.h>
#include <unistd.h>
#include <utility>

namespace dataaccess {

namespace {

const QString JetProvider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
// SQLite calls the progress handler after this many steps of its virtual
// machine: a plain insert takes fewer, a statement that computes gets there
// within a fraction of a millisecond.
constexpr int ProgressSteps = 1000;
// A stop request does not cut short applying a lost transaction again: that
// work ran a moment ago and is short, unless the database's logic now
// behaves otherwise.
constexpr std::chrono::milliseconds RestoreGrace {1000};

QString uniqueConnectionName()
{
    static quint64 counter = 0;
    return QStringLiteral("valdoren-connection-%1").arg(++counter);
}

DataAccessError notOpen()
{
    return DataAccessError::databaseFailed(errc::NotOpen, {}, Connection::tr("The connection is not open"));
}

} // namespace

Connection::Connection(QObject *parent) : QObject(parent)
{
    m_commitTimer.setSingleShot(true);
    m_commitTimer.setInterval(CommitInterval);
    connect(&m_commitTimer, &QTimer::timeout, this, &Connection::commitFromTimer);
}

Connection::~Connection()
{
    try {
        close();
    } catch (const DataAccessError &failure) {
        // Nobody is left to tell; the owner that cares calls close() itself.
        qWarning("Closing a database connection failed: %s", failure.what());
    }
}

void Connection::setConnectionString(const QString &connectionString)
{
    m_connectionString = connectionString;
}

void Connection::open()
{
    if (isOpen())
        throw DataAccessError::databaseFailed(errc::AlreadyOpen, {}, tr("The connection is already open"));
    const ConnectionString settings = ConnectionString::parse(m_connectionString);
    const QString provider = settings.valueOr(QStringLiteral("Provider"), {});
    if (provider.compare(JetProvider, Qt::CaseInsensitive) != 0)
        throw DataAccessError::databaseFailed(
            errc::UnknownProvider, {},
            tr("Provider '%1' is not known (only %2 is)").arg(provider, JetProvider));
    m_dataSource = settings.valueOr(QStringLiteral("Data Source"), {});
    m_readOnly
        = settings.valueOr(QStringLiteral("Mode"), {}).compare(QStringLiteral("Read"), Qt::CaseInsensitive)
        == 0;
    // Looked up once: a drive path takes a walk through the Wine prefix.
    m_file = localFilePath(m_dataSource);
    checkDatabaseFile(m_dataSource, m_file);

    openSqlite();
    try {
        attachToSqlite();
        checkPassword(settings.valueOr(QStringLiteral("Jet OLEDB:Database Password"), {}));
        if (!m_readOnly)
            checkWriteLock();
    } catch (const DataAccessError &) {
        closeSqlite();
        throw;
    }
}

void Connection::openSqlite()
{
    reportFileSizeLimitAsFailure();
    m_name = uniqueConnectionName();
    m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_database.setDatabaseName(sqliteUriForExistingFile(m_file, m_readOnly));
    m_database.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeout.count()));
    if (!m_database.open()) {
        const DataAccessError failure = DataAccessError::fromSqlError(m_database.lastError(), m_dataSource);
        closeSqlite();
        throw failure;
    }
    m_query.emplace(m_database);
    m_query->setForwardOnly(true);
}

// The driver's handle gives what Qt does not: a call back during a long
// statement, the state of the transaction, the system's error. It is only
// usable when the driver runs the SQLite this program is linked with.
void Connection::attachToSqlite()
{
    const QVariant handle = m_database.driver()->handle();
    const bool versionRead = m_query->exec(QStringLiteral("SELECT sqlite_version()")) && m_query->next();
    const QString driverVersion = versionRead ? m_query->value(0).toString() : QString();
    m_query->finish();
    const QString ownVersion = QString::fromLatin1(sqlite3_libversion());
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0 || driverVersion != ownVersion)
        throw DataAccessError::databaseFailed(
            errc::ForeignSqlite, {},
            tr("the program is not installed as it should be: Qt's SQLite driver runs SQLite %1, this "
               "program %2")
                .arg(driverVersion, ownVersion));
    m_sqlite = *static_cast<sqlite3 *const *>(handle.constData());
    m_sinceWhileBusy.start();
    sqlite3_progress_handler(m_sqlite, ProgressSteps, &Connection::onProgress, this);
}

void Connection::checkPassword(const QString &password)
{
    PasswordVerifier verifier;
    try {
        verifier = readPasswordVerifier(m_database);
    } catch (const DataAccessError &failure) {
        throw failure.within(m_dataSource);
    }
    if (!verifier.isPlausible())
        throw DataAccessError::databaseFailed(
            errc::ForeignDatabase, m_dataSource,
            tr("the database password record is damaged or was not written by this program"));
    if (!verifier.matches(password))
        throw DataAccessError::databaseFailed(
            errc::WrongPassword, m_dataSource,
            tr("the password that this program uses for a database of this name does not match "
               "it"));
}

// A writer holding the file shows up here, within the busy timeout, and not
// halfway through the caller's work. (A read-only file passes: it fails at
// its first write.)
void Connection::checkWriteLock()
{
    exec(QStringLiteral("BEGIN IMMEDIATE"), m_dataSource);
    exec(QStringLiteral("ROLLBACK"), m_dataSource);
}

// A statement left unfinished would keep SQLite from closing the file.
void Connection::closeSqlite()
{
    for (Recordset *reader : QSet<Recordset *>(m_readers))
        reader->close();
    m_commitTimer.stop();
    m_inTransaction = false;
    m_explicitTransaction = false;
    m_journal.clear();
    m_sqlite = nullptr;
    m_query.reset();
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void Connection::exec(const QString &statement, const QString &subject)
{
    m_inStatement = true;
    startsWork();
    const bool ok = m_query->exec(statement);
    m_inStatement = false;
    const QSqlError error = m_query->lastError();
    m_query->finish();
    if (!ok)
        throw DataAccessError::fromSqlError(error, subject, circumstancesOf(error));
}

// What the system said behind a failed write: the error SQLite kept, or the
// file's own last one (a failed commit keeps only that); and whether the
// folder still takes the journal SQLite makes beside the file.
WriteCircumstances Connection::circumstancesOf(const QSqlError &error) const
{
    const int primary = error.nativeErrorCode().toInt() & 0xff;
    if (primary != SQLITE_CANTOPEN && primary != SQLITE_IOERR && primary != SQLITE_READONLY)
        return {};
    WriteCircumstances circumstances;
    circumstances.systemError = sqlite3_system_errno(m_sqlite);
    if (circumstances.systemError == 0)
        sqlite3_file_control(m_sqlite, "main", SQLITE_FCNTL_LAST_ERRNO, &circumstances.systemError);
    const QByteArray folder = QFile::encodeName(QFileInfo(m_file).absolutePath());
    circumstances.folderWritable = ::access(folder.constData(), W_OK) == 0;
    return circumstances;
}

int Connection::onProgress(void *connection) noexcept
{
    return static_cast<Connection *>(connection)->whileBusyWantsInterrupt() ? 1 : 0;
}

bool Connection::whileBusyWantsInterrupt()
{
    if (!m_whileBusy || !m_sinceWhileBusy.hasExpired(WhileBusyInterval.count()))
        return false;
    const QPointer<Connection> alive(this);
    const bool stop = m_whileBusy();
    if (!alive)
        return true;
    m_sinceWhileBusy.start();
    return stop && (!m_restoring || m_restoreAge.hasExpired(RestoreGrace.count()));
}

void Connection::requireOpen() const
{
    if (!isOpen())
        throw notOpen();
}

// The whileBusy callback lets window events run in the middle of a
// statement; none of them may use the connection then.
void Connection::requireIdle() const
{
    requireOpen();
    if (m_inStatement)
        throw DataAccessError::databaseFailed(errc::Busy, {}, tr("The connection is still at work"));
}

void Connection::execute(const QString &statement)
{
    requireIdle();
    if (m_deferredFailure)
        throw *std::exchange(m_deferredFailure, std::nullopt);
    if (!m_inTransaction)
        beginTransaction();
    std::optional<DataAccessError> failure;
    try {
        exec(statement, {});
    } catch (const DataAccessError &statementFailure) {
        failure = statementFailure;
    }
    if (!sqlite3_get_autocommit(m_sqlite)) {
        if (!failure)
            m_journal.append(statement);
    } else if (failure) {
        restoreLostTransaction();
    } else {
        endTransaction(); // the statement itself was a COMMIT or ROLLBACK
    }
    if (failure)
        throw failure->kind() == FailureKind::DatabaseFailed ? withLostWork(*failure) : *failure;
    if (!m_explicitTransaction && m_transactionAge.hasExpired(CommitInterval.count()))
        commitNow(1); // should it fail, the caller's own statement is the one that failed
}

void Connection::beginTrans()
{
    requireIdle();
    commitNow();
    m_explicitTransaction = true;
    beginTransaction();
}

void Connection::commitTrans()
{
    requireIdle();
    m_explicitTransaction = false;
    commitNow();
}

void Connection::beginTransaction()
{
    exec(QStringLiteral("BEGIN IMMEDIATE"), {});
    m_inTransaction = true;
    m_transactionAge.start();
    if (!m_explicitTransaction)
        m_commitTimer.start();
}

void Connection::endTransaction()
{
    m_commitTimer.stop();
    m_inTransaction = false;
    m_journal.clear();
}

// A failing statement made the database undo the open transaction, and with
// it every statement since the last commit: the target's own logic did (a
// trigger's ROLLBACK, a constraint declared ON CONFLICT ROLLBACK), or an
// interrupt, or a failed write. Those statements ran a moment ago; applied
// again, they leave what a transaction per statement would have left.
void Connection::restoreLostTransaction()
{
    m_commitTimer.stop();
    m_inTransaction = false;
    const QStringList lost = std::exchange(m_journal, {});
    if (lost.isEmpty())
        return;
    m_restoring = true;
    m_restoreAge.start();
    try {
        beginTransaction();
        for (const QString &statement : lost)
            exec(statement, {});
    } catch (const DataAccessError &failure) {
        m_restoring = false;
        m_query->exec(QStringLiteral("ROLLBACK"));
        m_query->finish();
        endTransaction();
        m_explicitTransaction = false;
        throw DataAccessError(FailureKind::DatabaseFailed, failure.number(), failure.subject(),
                              tr("the database undid the work since the last save, and doing it again "
                                 "failed: %1")
                                  .arg(failure.reason()),
                              failure.remedy())
            .withNotKept(lost.size());
    }
    m_restoring = false;
    m_journal = lost;
}

void Connection::commit()
{
    requireIdle();
    if (m_deferredFailure)
        throw *std::exchange(m_deferredFailure, std::nullopt);
    if (!m_inTransaction && fileHasMoved())
        throw DataAccessError::fromSqliteCode(SQLITE_READONLY_DBMOVED, tr("The changes cannot be saved"));
    commitNow();
}

void Connection::forgetCachedPages()
{
    requireIdle();
    sqlite3_db_release_memory(m_sqlite);
}

void Connection::commitNow(int callersStatements)
{
    if (!m_inTransaction)
        return;
    m_commitTimer.stop();
    const QString context = tr("The changes cannot be saved");
    try {
        if (fileHasMoved())
            throw DataAccessError::fromSqliteCode(SQLITE_READONLY_DBMOVED, context);
        exec(QStringLiteral("COMMIT"), context);
    } catch (const DataAccessError &failure) {
        // SQLite may have undone the transaction already (a full disk); either
        // way the connection ends up without one, and the caller learns what
        // was lost.
        throw withLostWork(failure, callersStatements);
    }
    endTransaction();
}

// SQLite goes on writing to a file that was deleted, moved or replaced,
// where nobody will look for the work.
bool Connection::fileHasMoved() const
{
    int moved = 0;
    return sqlite3_file_control(m_sqlite, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved;
}

void Connection::commitFromTimer()
{
    // The timer fires in the window events a long statement lets in; that
    // statement's execute() commits once it returns.
    if (m_explicitTransaction || m_inStatement)
        return;
    try {
        commitNow();
    } catch (const DataAccessError &failure) {
        m_deferredFailure = failure;
    }
}

// After a failure of the database itself, saves what the statements before
// it did, unless SQLite has already undone it or the file is no longer at
// its path, or says how much was not kept.
DataAccessError Connection::withLostWork(const DataAccessError &failure, int callersStatements)
{
    if (!m_inTransaction)
        return failure;
    const qsizetype notKept = m_journal.size() - callersStatements;
    const bool saved = !fileHasMoved() && m_query->exec(QStringLiteral("COMMIT"));
    if (!saved)
        m_query->exec(QStringLiteral("ROLLBACK"));
    m_query->finish();
    endTransaction();
    m_explicitTransaction = false;
    if (saved)
        return failure;
    return failure.withNotKept(notKept);
}

void Connection::close()
{
    if (!isOpen())
        return;
    requireIdle();
    std::optional<DataAccessError> failure = std::exchange(m_deferredFailure, std::nullopt);
    try {
        commitNow();
    } catch (const DataAccessError &commitFailure) {
        failure = commitFailure;
    }
    closeSqlite();
    if (failure)
        throw *failure;
}

} // namespace dataaccess
