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
constexpr int AccessDenied = 3022;
} // namespace errc

// What would mend a failure, as far as the data layer can tell; the caller
// puts it in words that fit its place.
enum class Remedy {
    None,
    CloseOtherProgram, // another program holds the file
    MakeWritable, // the file, its folder or its file system takes no writes
    PickOtherFile, // the file is no database of this program's
    PrepareDatabase, // the file is of a kind this program cannot change: it needs one it can
    MendTables, // the database's tables are not as asked for: a table or column lacking, a rule added
    MendDatabase, // the database's own logic (a view, a trigger) fails on the request
    GetAccess, // the user may not reach the file
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

// What failed (the file as it was named, the query, or the work under way;
// empty when the caller knows it best) and why, apart, so that each caller
// puts them in words of its own; the reason in English, or in the language
// whose catalogue the program has loaded (tr()), SQLite's or the system's
// own words in parentheses at its end.
class DataAccessError : public std::exception
{
    Q_DECLARE_TR_FUNCTIONS(DataAccessError)

public:
    DataAccessError(FailureKind kind, int number, const QString &subject, const QString &reason,
                    Remedy remedy);

    // Maps a failure reported by Qt's SQLite driver to its kind, keeping
    // SQLite's (extended) result code as the number.
    static DataAccessError fromSqlError(const QSqlError &error, const QString &subject = {},
                                        const WriteCircumstances &circumstances = {});
    // The same for a SQLite result code found without the driver, with
    // SQLite's words for it, if any.
    static DataAccessError fromSqliteCode(int code, const QString &subject, const QString &detail = {});
    // A failure the component found itself, its remedy told by its number.
    static DataAccessError databaseFailed(int number, const QString &subject, const QString &reason);

    FailureKind kind() const { return m_kind; }
    // The statement was refused and undone alone; the transaction goes on.
    bool isRowRefusal() const { return m_kind == FailureKind::RowRefused; }
    // Refused because a row with that key is there already.
    bool isDuplicateKey() const;
    int number() const { return m_number; }
    Remedy remedy() const { return m_remedy; }
    const QString &subject() const { return m_subject; }
    const QString &reason() const { return m_reason; }
    // "subject: reason", a line for a log or a command's error.
    QString description() const;
    // Statements run since the last save that the failure undid, the failing
    // call's own not counted.
    qsizetype notKept() const { return m_notKept; }

    // The same failure met inside outer (a file, say): "outer: subject".
    DataAccessError within(const QString &outer) const;
    DataAccessError withNotKept(qsizetype statements) const;
    const char *what() const noexcept override;

private:
    FailureKind m_kind;
    int m_number;
    Remedy m_remedy;
    QString m_subject;
    QString m_reason;
    qsizetype m_notKept = 0;
    // Made at the first what(): a refused row, which the run skips, never asks.
    mutable QByteArray m_what;
};

} // namespace dataaccess
