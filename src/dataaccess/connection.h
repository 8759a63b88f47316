#pragma once

#include "dataaccess/dataaccesserror.h"

#include <chrono>
#include <optional>
#include <QElapsedTimer>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTimer>

namespace dataaccess {

// A session with one database file, opened from an OLE DB connection string
// ("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=...;Jet OLEDB:Database
// Password=...;"). "Mode=Read" in it opens the file for reading only: it
// takes no write lock, so it opens while another program writes, and it
// never changes the file. Every failure throws DataAccessError.
//
// Statements run in implicit transactions, as Jet runs them: the first
// statement begins one, and it is committed once it is CommitInterval old
// (at the next statement, or by a timer when none follows) and at close().
// So a statement costs no disk flush of its own, and a crash loses at most
// the last moments of work, never the file's consistency.
//
// Lives on the thread of the event loop that drives its timer (the UI
// thread); not for use from other threads.
class Connection : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds CommitInterval {250};
    static constexpr std::chrono::milliseconds DefaultBusyTimeout {3000};

    explicit Connection(QObject *parent = nullptr);
    ~Connection() override;

    void setConnectionString(const QString &connectionString);
    QString connectionString() const { return m_connectionString; }
    // How long to wait for another program's lock before giving up.
    void setBusyTimeout(std::chrono::milliseconds timeout) { m_busyTimeout = timeout; }

    // Fails, leaving the file untouched, for an unknown provider, a missing
    // file, a folder, a file that is not one of our databases (an Access
    // file among them), a wrong password, or a lock held past the timeout.
    void open();
    bool isOpen() const { return m_database.isOpen(); }
    QString dataSource() const { return m_dataSource; }

    // Runs one statement. A refused row (FailureKind::RowRefused) leaves
    // everything else as it was; after a failed database the error says
    // whether work since the last commit was lost.
    void execute(const QString &statement);

    // Commits what the open implicit transaction holds.
    void commit();

    // An explicit transaction: statements between these are committed
    // together by commitTrans(), never in parts.
    void beginTrans();
    void commitTrans();

    // Commits, then closes. Closes even when the commit fails, then throws.
    void close();

private:
    friend class Recordset;
    const QSqlDatabase &database() const { return m_database; }

    void openSqlite();
    void checkPassword(const QString &password);
    void checkWriteLock();
    void closeSqlite();
    void exec(const QString &statement, const QString &context);
    void beginImplicitTransaction();
    void commitNow();
    void commitFromTimer();
    DataAccessError withLostWork(const DataAccessError &failure);
    void requireOpen() const;

    QString m_connectionString;
    QString m_dataSource;
    bool m_readOnly = false;
    QString m_name;
    QSqlDatabase m_database;
    std::optional<QSqlQuery> m_query;
    std::chrono::milliseconds m_busyTimeout = DefaultBusyTimeout;
    bool m_inTransaction = false;
    bool m_explicitTransaction = false;
    int m_uncommittedStatements = 0;
    QElapsedTimer m_transactionAge;
    QTimer m_commitTimer;
    std::optional<DataAccessError> m_deferredFailure;
};

} // namespace dataaccess
