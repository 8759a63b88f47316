#include "dataaccess/dataaccesserror.h"

#include <cerrno>
#include <QSqlError>

namespace dataaccess {

namespace {

// Primary SQLite result codes (the low byte of an extended code).
enum SqlitePrimary {
    Error = 1,
    Busy = 5,
    Locked = 6,
    NoMem = 7,
    ReadOnly = 8,
    Interrupt = 9,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    TooBig = 18,
    Constraint = 19,
    Mismatch = 20,
    NotADb = 26,
};

// Extended codes with a reason of their own.
enum SqliteExtended {
    ReadOnlyDbMoved = ReadOnly | (4 << 8),
    ReadOnlyDirectory = ReadOnly | (6 << 8),
    ConstraintForeignKey = Constraint | (3 << 8),
    ConstraintNotNull = Constraint | (5 << 8),
    ConstraintPrimaryKey = Constraint | (6 << 8),
    ConstraintTrigger = Constraint | (7 << 8),
    ConstraintUnique = Constraint | (8 << 8),
    ConstraintDatatype = Constraint | (12 << 8),
};

bool isDuplicate(int code)
{
    return code == ConstraintPrimaryKey || code == ConstraintUnique;
}

FailureKind kindOf(int primary)
{
    // Only what is wrong with the values of one statement refuses the row;
    // everything else (syntax, missing table, I/O, locks, corruption) is the
    // database's.
    if (primary == Constraint || primary == Mismatch || primary == TooBig)
        return FailureKind::RowRefused;
    return primary == Interrupt ? FailureKind::Interrupted : FailureKind::DatabaseFailed;
}

// A write the system refused, by what it said.
QString refusedWriteReason(int systemError)
{
    switch (systemError) {
    case EFBIG:
        return DataAccessError::tr("the file has reached the file-size limit set for this program");
    case EDQUOT:
        return DataAccessError::tr("the disk quota is used up");
    case ENOSPC:
        return DataAccessError::tr("the disk is full");
    case EROFS:
        return DataAccessError::tr("the file system is read-only");
    default:
        return {};
    }
}

bool isFolderReadOnly(int code, const WriteCircumstances &circumstances)
{
    const int primary = code & 0xff;
    return code == ReadOnlyDirectory
        || (!circumstances.folderWritable
            && (primary == CantOpen || primary == IoErr || primary == ReadOnly));
}

Remedy remedyOfSystemError(int systemError)
{
    switch (systemError) {
    case EFBIG:
        return Remedy::AskAdministrator;
    case EDQUOT:
    case ENOSPC:
        return Remedy::MakeRoom;
    case EROFS:
        return Remedy::MakeWritable;
    default:
        return Remedy::None;
    }
}

Remedy remedyOf(int number, const WriteCircumstances &circumstances)
{
    if (isFolderReadOnly(number, circumstances))
        return Remedy::MakeWritable;
    switch (number) {
    case errc::FileNotFound:
    case errc::IsDirectory:
    case errc::EmptyFile:
    case errc::NotADatabase:
    case errc::ForeignDatabase:
    case errc::WrongPassword:
        return Remedy::PickOtherFile;
    case errc::AccessDatabase:
        return Remedy::PrepareDatabase;
    case errc::Unreadable:
    case errc::ForeignSqlite:
        return Remedy::AskAdministrator;
    case errc::AccessDenied:
        return Remedy::GetAccess;
    default:
        break;
    }
    switch (number & 0xff) {
    case Constraint:
    case Mismatch:
    case TooBig:
        // Refused for another reason than its code being there: the table
        // has rules the Lorvanta program's tables lack.
        return isDuplicate(number) ? Remedy::None : Remedy::MendTables;
    case Error:
        return Remedy::MendDatabase;
    case Busy:
    case Locked:
        return Remedy::CloseOtherProgram;
    case ReadOnly:
        return number == ReadOnlyDbMoved ? Remedy::None : Remedy::MakeWritable;
    case Full:
        return Remedy::MakeRoom;
    case Corrupt:
        return Remedy::RestoreBackup;
    case NotADb:
        return Remedy::PickOtherFile;
    case IoErr: {
        // A write the system refused for a reason of its own, else a disk at fault.
        const Remedy remedy = remedyOfSystemError(circumstances.systemError);
        return remedy == Remedy::None ? Remedy::AskAdministrator : remedy;
    }
    default:
        return Remedy::None;
    }
}

QString constraintReason(int code)
{
    switch (code) {
    case ConstraintPrimaryKey:
    case ConstraintUnique:
        return DataAccessError::tr("a row with this code is there already");
    case ConstraintNotNull:
        return DataAccessError::tr("the table requires a value that this program does not give");
    case ConstraintForeignKey:
        return DataAccessError::tr("the table requires a code that another table lacks");
    case ConstraintTrigger:
        return DataAccessError::tr("the database's own logic (a trigger) refused the row");
    case ConstraintDatatype:
        return DataAccessError::tr("a value is of the wrong type");
    default:
        return DataAccessError::tr("a value breaks a rule of the table");
    }
}

QString plainReason(int code, const WriteCircumstances &circumstances)
{
    const int primary = code & 0xff;
    if (code == ReadOnlyDbMoved)
        return DataAccessError::tr("the database file was deleted, moved or replaced while in use");
    // SQLite creates and removes its journal beside the file at every save.
    if (isFolderReadOnly(code, circumstances))
        return DataAccessError::tr("the folder of the database file is read-only, and the database must "
                                   "write a file of its own there at every save");
    if (primary == IoErr) {
        const QString refused = refusedWriteReason(circumstances.systemError);
        if (!refused.isEmpty())
            return refused;
    }
    switch (primary) {
    case Busy:
    case Locked:
        return DataAccessError::tr("the database is in use by another program");
    case NoMem:
        return DataAccessError::tr("out of memory");
    case ReadOnly:
        return DataAccessError::tr("the database file is read-only");
    case Interrupt:
        return DataAccessError::tr("stopped on request");
    case IoErr:
        return DataAccessError::tr("disk input/output error");
    case Corrupt:
    case NotADb:
        return DataAccessError::tr("the database file is damaged or not a database");
    case Full:
        return DataAccessError::tr("the disk is full");
    case CantOpen:
        return DataAccessError::tr("the database file cannot be opened");
    case Error:
        return DataAccessError::tr("something in the database (a table, a view or a trigger) does not work "
                                   "as this program needs");
    case TooBig:
        return DataAccessError::tr("a value is too large");
    case Constraint:
        return constraintReason(code);
    case Mismatch:
        return DataAccessError::tr("a value is of the wrong type");
    default:
        return DataAccessError::tr("the database reported error %1").arg(code);
    }
}

// The reason in the operator's words; SQLite's or the driver's own after it
// in parentheses, for whoever supports the operator.
QString withDetail(const QString &reason, const QString &detail)
{
    if (detail.isEmpty() || detail == reason)
        return reason;
    return QStringLiteral("%1 (%2)").arg(reason, detail);
}

// SQLite's words when a statement names a table or column the database
// does not have.
bool namesMissingTableOrColumn(int code, const QString &detail)
{
    return (code & 0xff) == Error
        && (detail.startsWith(QLatin1String("no such table"))
            || detail.startsWith(QLatin1String("no such column"))
            || detail.contains(QLatin1String(" has no column named ")));
}

DataAccessError describe(int code, const QString &detail, const QString &subject,
                         const WriteCircumstances &circumstances)
{
    if (namesMissingTableOrColumn(code, detail))
        return DataAccessError(
            FailureKind::DatabaseFailed, code, subject,
            withDetail(DataAccessError::tr("the database lacks a table or column that this program needs"),
                       detail),
            Remedy::MendTables);
    return DataAccessError(kindOf(code & 0xff), code, subject,
                           withDetail(plainReason(code, circumstances), detail),
                           remedyOf(code, circumstances));
}

} // namespace

DataAccessError::DataAccessError(FailureKind kind, int number, const QString &subject, const QString &reason,
                                 Remedy remedy)
    : m_kind(kind), m_number(number), m_remedy(remedy), m_subject(subject), m_reason(reason)
{ }

bool DataAccessError::isDuplicateKey() const
{
    return isDuplicate(m_number);
}

QString DataAccessError::description() const
{
    return m_subject.isEmpty() ? m_reason : m_subject + QStringLiteral(": ") + m_reason;
}

const char *DataAccessError::what() const noexcept
{
    if (m_what.isEmpty())
        m_what = QStringLiteral("%1 (%2)").arg(description()).arg(m_number).toUtf8();
    return m_what.constData();
}

DataAccessError DataAccessError::within(const QString &outer) const
{
    DataAccessError changed = *this;
    changed.m_subject = m_subject.isEmpty() ? outer : outer + QStringLiteral(": ") + m_subject;
    changed.m_what.clear();
    return changed;
}

DataAccessError DataAccessError::withNotKept(qsizetype statements) const
{
    DataAccessError changed = *this;
    changed.m_notKept = statements;
    return changed;
}

DataAccessError DataAccessError::databaseFailed(int number, const QString &subject, const QString &reason)
{
    return DataAccessError(FailureKind::DatabaseFailed, number, subject, reason, remedyOf(number, {}));
}

DataAccessError DataAccessError::fromSqlError(const QSqlError &error, const QString &subject,
                                              const WriteCircumstances &circumstances)
{
    bool numeric = false;
    const int number = error.nativeErrorCode().toInt(&numeric);
    const QString detail = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    if (!numeric)
        return DataAccessError(FailureKind::DatabaseFailed, 1, subject,
                               withDetail(tr("the database driver failed"), detail),
                               Remedy::AskAdministrator);
    return describe(number, detail, subject, circumstances);
}

DataAccessError DataAccessError::fromSqliteCode(int code, const QString &subject, const QString &detail)
{
    return describe(code, detail, subject, {});
}

} // namespace dataaccess
