#pragma once

#include <exception>
#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QSqlError;

namespace dataaccess {

// A caller decides by the kind what comes next: a refused row concerns that
// one statement, an interrupted one was ended at the caller's own request,
// a failed database concerns every statement after it.
enum class FailureKind { RowRefused, Interrupted, DatabaseFailed };

// Numbers for failures that the component finds before SQLite is asked.
// SQLite's own (extended) result codes are all below 3000.
namespace errc {
constexpr int BadConnectionString = 3001;
constexpr int UnknownProvider = 3002;
constexpr int NoDataSource = 3003;
constexpr int FileNotFound = 3004;
constexpr int IsDirectory = 3005;
constexpr int Unreadable = 3006;
constexpr int EmptyFile = 3007;
constexpr int NotADatabase = 3008;
constexpr int AccessDatabase = 3009;
constexpr int ForeignDatabase = 3010;
constexpr int WrongPassword = 3011;
constexpr int NotOpen = 3012;
constexpr int NoCurrentRow = 3013;
constexpr int NoSuchField = 3014;
constexpr int AlreadyExists = 3015;
constexpr int CannotCreate = 3016;
constexpr int AlreadyOpen = 3017;
constexpr int PathTooLong = 3018;
constexpr int ForeignSqlite = 3019;
constexpr int Busy = 3020;
constexpr int NotOneQuery = 3021;
} // namespace errc

// What would mend a failure, as far as the data layer can tell; the caller
// puts it in words that fit its place.
enum class Remedy {
    None,
    CloseOtherProgram, // another program holds the file
    MakeWritable, // the file, its folder or its file system takes no writes
    PickOtherFile, // the file is no database of this program's
    PrepareDatabase, // the file is of a kind this program cannot change: it needs one it can
    MendTables, // the database lacks a table or column that was asked for
    MakeRoom, // the disk or the quota is full
    RestoreBackup, // the file is damaged
    AskAdministrator, // the installation or the machine is at fault
};

// What the system tells about a failed write besides SQLite's code.
struct WriteCircumstances
{
    int systemError = 0; // errno, 0 when unknown
    bool folderWritable = true; // the database's folder takes new files (its journal)
};

// Its description is one line for the operator, in English, or in the
// language whose catalogue the program has loaded (tr()).
class DataAccessError : public std::exception
{
    Q_DECLARE_TR_FUNCTIONS(DataAccessError)

public:
    DataAccessError(FailureKind kind, int number, const QString &description);
    DataAccessError(FailureKind kind, int number, const QString &description, Remedy remedy);

    // Maps a failure reported by Qt's SQLite driver to its kind, keeping
    // SQLite's result code as the number.
    static DataAccessError fromSqlError(const QSqlError &error, const QString &context = {},
                                        const WriteCircumstances &circumstances = {});
    // The same for a SQLite result code found without the driver, with
    // SQLite's words for it, if any.
    static DataAccessError fromSqliteCode(int code, const QString &context, const QString &detail = {});
    static DataAccessError databaseFailed(int number, const QString &description);

    FailureKind kind() const { return m_kind; }
    bool isRowRefusal() const { return m_kind == FailureKind::RowRefused; }
    int number() const { return m_number; }
    Remedy remedy() const { return m_remedy; }
    const QString &description() const { return m_description; }
    // Statements run since the last save that the failure undid, the failing
    // call's own not counted.
    qsizetype notKept() const { return m_notKept; }

    DataAccessError withDescription(const QString &description) const;
    DataAccessError withNotKept(qsizetype statements) const;
    const char *what() const noexcept override { return m_what.constData(); }

private:
    FailureKind m_kind;
    int m_number;
    Remedy m_remedy;
    QString m_description;
    qsizetype m_notKept = 0;
    QByteArray m_what;
};

} // namespace dataaccess
