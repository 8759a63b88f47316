#include "dataaccess/connection.h"

#include "dataaccess/connectionstring.h"
#include "dataaccess/databasefile.h"
#include "dataaccess/passwordverifier.h"

#include <QSqlError>
#include <utility>

namespace dataaccess {

namespace {

const QString JetProvider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");

QString uniqueConnectionName()
{
    static quint64 counter = 0;
    return QStringLiteral("valdoren-connection-%1").arg(++counter);
}

DataAccessError notOpen()
{
    return DataAccessError::databaseFailed(errc::NotOpen, QStringLiteral("The connection is not open"));
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
        throw DataAccessError::databaseFailed(errc::AlreadyOpen,
                                              QStringLiteral("The connection is already open"));
    const ConnectionString settings = ConnectionString::parse(m_connectionString);
    const QString provider = settings.valueOr(QStringLiteral("Provider"), {});
    if (provider.compare(JetProvider, Qt::CaseInsensitive) != 0)
        throw DataAccessError::databaseFailed(
            errc::UnknownProvider,
            QStringLiteral("Provider \"%1\" is not known (only %2 is)").arg(provider, JetProvider));
    m_dataSource = settings.valueOr(QStringLiteral("Data Source"), {});
    m_readOnly
        = settings.valueOr(QStringLiteral("Mode"), {}).compare(QStringLiteral("Read"), Qt::CaseInsensitive)
        == 0;
    checkDatabaseFile(m_dataSource);

    openSqlite();
    try {
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
    m_name = uniqueConnectionName();
    m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_database.setDatabaseName(sqliteUriForExistingFile(m_dataSource, m_readOnly));
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

void Connection::checkPassword(const QString &password)
{
    PasswordVerifier verifier;
    try {
        verifier = readPasswordVerifier(m_database);
    } catch (const DataAccessError &failure) {
        throw DataAccessError(failure.kind(), failure.number(),
                              m_dataSource + QStringLiteral(": ") + failure.description());
    }
    if (!verifier.matches(password))
        throw DataAccessError::databaseFailed(errc::WrongPassword,
                                              m_dataSource + QStringLiteral(": wrong database password"));
}

// A writer holding the file shows up here, within the busy timeout, and not
// halfway through the caller's work. (A read-only file passes: it fails at
// its first write.)
void Connection::checkWriteLock()
{
    exec(QStringLiteral("BEGIN IMMEDIATE"), m_dataSource);
    exec(QStringLiteral("ROLLBACK"), m_dataSource);
}

void Connection::closeSqlite()
{
    m_commitTimer.stop();
    m_inTransaction = false;
    m_explicitTransaction = false;
    m_uncommittedStatements = 0;
    m_query.reset();
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void Connection::exec(const QString &statement, const QString &context)
{
    const bool ok = m_query->exec(statement);
    const QSqlError error = m_query->lastError();
    m_query->finish();
    if (!ok)
        throw DataAccessError::fromSqlError(error, context);
}

void Connection::requireOpen() const
{
    if (!isOpen())
        throw notOpen();
}

void Connection::execute(const QString &statement)
{
    requireOpen();
    if (m_deferredFailure)
        throw *std::exchange(m_deferredFailure, std::nullopt);
    if (!m_inTransaction)
        beginImplicitTransaction();
    try {
        exec(statement, {});
    } catch (const DataAccessError &failure) {
        if (failure.isRowRefusal())
            throw;
        throw withLostWork(failure);
    }
    ++m_uncommittedStatements;
    if (!m_explicitTransaction && m_transactionAge.hasExpired(CommitInterval.count()))
        commitNow();
}

void Connection::beginTrans()
{
    requireOpen();
    commitNow();
    beginImplicitTransaction();
    m_commitTimer.stop();
    m_explicitTransaction = true;
}

void Connection::commitTrans()
{
    requireOpen();
    m_explicitTransaction = false;
    commitNow();
}

void Connection::beginImplicitTransaction()
{
    exec(QStringLiteral("BEGIN IMMEDIATE"), {});
    m_inTransaction = true;
    m_uncommittedStatements = 0;
    m_transactionAge.start();
    m_commitTimer.start();
}

void Connection::commit()
{
    requireOpen();
    commitNow();
}

void Connection::commitNow()
{
    if (!m_inTransaction)
        return;
    m_commitTimer.stop();
    try {
        exec(QStringLiteral("COMMIT"), QStringLiteral("Cannot save the changes"));
    } catch (const DataAccessError &failure) {
        // SQLite may have undone the transaction already (a full disk); either
        // way the connection ends up without one, and the caller learns what
        // was lost.
        throw withLostWork(failure);
    }
    m_inTransaction = false;
    m_uncommittedStatements = 0;
}

void Connection::commitFromTimer()
{
    if (m_explicitTransaction)
        return;
    try {
        commitNow();
    } catch (const DataAccessError &failure) {
        m_deferredFailure = failure;
    }
}

// After a failure of the database itself, saves what the statements before
// it did, if SQLite has not already undone it, or says how much was undone.
DataAccessError Connection::withLostWork(const DataAccessError &failure)
{
    if (!m_inTransaction)
        return failure;
    m_commitTimer.stop();
    m_inTransaction = false;
    m_explicitTransaction = false;
    const int uncommitted = std::exchange(m_uncommittedStatements, 0);
    const bool saved = m_query->exec(QStringLiteral("COMMIT"));
    if (!saved)
        m_query->exec(QStringLiteral("ROLLBACK"));
    m_query->finish();
    if (saved || uncommitted == 0)
        return failure;
    return DataAccessError(failure.kind(), failure.number(),
                           failure.description()
                               + QStringLiteral("; the %1 statement(s) before it since the last "
                                                "save were not kept")
                                     .arg(uncommitted));
}

void Connection::close()
{
    if (!isOpen())
        return;
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
