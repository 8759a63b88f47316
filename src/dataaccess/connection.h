#pragma once

#include "dataaccess/dataaccesserror.h"

#include <chrono>
#include <functional>
#include <optional>
#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTimer>

struct sqlite3;

namespace dataaccess {

class Recordset;

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
// the last moments of work, never the file's consistency. The connection
// keeps the statements since the last commit: when the database undoes the
// open transaction (the target's own ROLLBACK, an interrupt), it applies
// them again, so that only the failing statement is lost.
//
// Lives on the thread of the event loop that drives its timer (the UI
// thread); not for use from other threads, nor from inside its own
// whileBusy callback.
class Connection : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds CommitInterval {250};
    static constexpr std::chrono::milliseconds DefaultBusyTimeout {3000};
    static constexpr std::chrono::milliseconds WhileBusyInterval {50};

    explicit Connection(QObject *parent = nullptr);
    ~Connection() override;

    void setConnectionString(const QString &connectionString);
    QString connectionString() const { return m_connectionString; }
    // How long to wait for another program's lock before giving up.
    void setBusyTimeout(std::chrono::milliseconds timeout) { m_busyTimeout = timeout; }
    // Called every WhileBusyInterval while one statement or read runs that
    // long (the database's own logic, a trigger, a view), so the window
    // keeps painting; true interrupts it, and it fails as
    // FailureKind::Interrupted.
    void setWhileBusy(std::function<bool()> whileBusy) { m_whileBusy = std::move(whileBusy); }

    // Fails, leaving the file untouched, for an unknown provider, a missing
    // file, a folder, a file that is not one of our databases (an Access
    // file among them), a password record this program would not write, a
    // wrong password, or a lock held past the timeout.
    void open();
    bool isOpen() const { return m_database.isOpen(); }
    QString dataSource() const { return m_dataSource; }

    // Runs one statement. A refused row (FailureKind::RowRefused) leaves
    // everything else as it was; after a failed database the error says
    // whether work since the last commit was lost.
    void execute(const QString &statement);

    // Commits what the open implicit transaction holds. Fails as well when
    // the timer's commit failed before, or when the file is no longer the
    // one at its path: what was saved is then not where anyone looks.
    void commit();

    // Lets go of the copies of the file's pages kept in memory (all of them
    // after a commit), so that the reads after it come from the file. Another
    // program that writes over pages in place leaves the file's change
    // counter as it was, and SQLite would go on believing its copies.
    void forgetCachedPages();

    // An explicit transaction: statements between these are committed
    // together by commitTrans(), never in parts.
    void beginTrans();
    void commitTrans();

    // Commits, then closes. Closes even when the commit fails, then throws.
    void close();

private:
    friend class Recordset;
    const QSqlDatabase &database() const { return m_database; }
    // A read begins: the whileBusy interval counts from here.
    void startsWork() const { m_sinceWhileBusy.start(); }

    void openSqlite();
    void attachToSqlite();
    void checkPassword(const QString &password);
    void checkWriteLock();
    void closeSqlite();
    void exec(const QString &statement, const QString &subject);
    WriteCircumstances circumstancesOf(const QSqlError &error) const;
    static int onProgress(void *connection) noexcept; // called by SQLite
    bool whileBusyWantsInterrupt();
    void beginTransaction();
    void endTransaction();
    void restoreLostTransaction();
    void commitNow(int callersStatements = 0);
    bool fileHasMoved() const;
    void commitFromTimer();
    DataAccessError withLostWork(const DataAccessError &failure, int callersStatements = 0);
    void requireOpen() const;
    void requireIdle() const;

    QString m_connectionString;
    QString m_dataSource;
    QString m_file; // where the data source lies
    bool m_readOnly = false;
    QString m_name;
    QSqlDatabase m_database;
    std::optional<QSqlQuery> m_query;
    sqlite3 *m_sqlite = nullptr;
    std::chrono::milliseconds m_busyTimeout = DefaultBusyTimeout;
    std::function<bool()> m_whileBusy;
    mutable QElapsedTimer m_sinceWhileBusy;
    bool m_inStatement = false;
    bool m_restoring = false;
    QElapsedTimer m_restoreAge;
    bool m_inTransaction = false;
    bool m_explicitTransaction = false;
    QStringList m_journal; // the statements since the last commit
    QElapsedTimer m_transactionAge;
    QTimer m_commitTimer;
    std::optional<DataAccessError> m_deferredFailure;
    mutable QSet<Recordset *> m_readers; // open on this connection
};

} // namespace dataaccess
