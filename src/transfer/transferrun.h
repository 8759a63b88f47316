#pragma once

#include "dataaccess/connection.h"
#include "dataaccess/recordset.h"

#include <optional>
#include <QCoreApplication>
#include <QString>

namespace transfer {

struct CodeCategory;
class RunWindow;

// One press of Ok: checks the choices, opens the target and NewCodes.mdb,
// offers every row of every ticked category to the target as one insert
// statement, and ends completed ("Selesai") or stopped ("Proses
// dibatalkan"). It runs on the window's thread and yields to window events
// once per row; it touches the window only through RunWindow.
//
// A row whose code the target has already is skipped. A stop request, a
// row refused for another reason, or a failure of either database ends the
// run as stopped; a failure is first named in a message. A stop request also ends a statement that runs long.
// Rows stored before a stop stay stored.
class TransferRun
{
    Q_DECLARE_TR_FUNCTIONS(TransferRun)

public:
    enum class Outcome { NotStarted, Completed, Stopped };

    // sourcePath: NewCodes.mdb, in the program folder for the window.
    TransferRun(RunWindow &window, const QString &sourcePath);

    // Opens the target with this password instead of the one its program
    // uses.
    void setTargetPassword(const QString &password) { m_targetPassword = password; }

    Outcome run();

    static QString connectionStringFor(const QString &path, const QString &password);

private:
    struct Stop
    {
    };
    // Which database a failure concerns, which tells what can mend it.
    enum class Role { Source, Target };

    bool passesChecks();
    void openTarget();
    void startRunProper();
    void openSource();
    void openDatabase(dataaccess::Connection &connection, const QString &path, const QString &file,
                      const QString &password, Role role);
    QString explained(const dataaccess::DataAccessError &failure, Role role) const;
    static QString advice(dataaccess::Remedy remedy);
    QString savingFailed(const dataaccess::DataAccessError &failure) const;
    void transferCategory(const CodeCategory &category);
    void transferRow(const CodeCategory &category);
    void advanceProgress();
    void checkWrittenTables();
    void complete();
    void stoppedEnding();
    void checkForStopRequest() const;
    void stopIfInterrupted(const dataaccess::DataAccessError &failure) const;
    QString releaseAll();
    void closeSource() noexcept;
    [[noreturn]] void failWith(const QString &message);

    RunWindow &m_window;
    const QString m_sourcePath;
    QString m_targetPath; // as the operator gave it
    QString m_targetFile; // where it lies
    bool m_somaTarget = false;
    std::optional<QString> m_targetPassword;
    double m_step = 0.0;
    bool m_codesOffered = false;
    QStringList m_writtenTables;
    dataaccess::Connection cnTarget;
    dataaccess::Connection cnSource;
    dataaccess::Recordset rsSource;
};

} // namespace transfer
