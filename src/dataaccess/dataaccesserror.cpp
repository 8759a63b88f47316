#include "dataaccess/dataaccesserror.h"

#include <QSqlError>

namespace dataaccess {

namespace {

// Primary SQLite result codes (the low byte of an extended code).
enum SqlitePrimary {
    Busy = 5,
    Locked = 6,
    NoMem = 7,
    ReadOnly = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    TooBig = 18,
    Constraint = 19,
    Mismatch = 20,
    NotADb = 26,
};

bool refusesOnlyTheRow(int primary)
{
    // Only what is wrong with the values of one statement; everything else
    // (syntax, missing table, I/O, locks, corruption) is the database's.
    return primary == Constraint || primary == Mismatch || primary == TooBig;
}

QString plainReason(int primary)
{
    switch (primary) {
    case Busy:
    case Locked:
        return QStringLiteral("the database is locked by another program");
    case NoMem:
        return QStringLiteral("out of memory");
    case ReadOnly:
        return QStringLiteral("the database file is read-only");
    case IoErr:
        return QStringLiteral("disk input/output error");
    case Corrupt:
    case NotADb:
        return QStringLiteral("the database file is damaged or not a database");
    case Full:
        return QStringLiteral("the disk is full");
    case CantOpen:
        return QStringLiteral("the database file cannot be opened");
    default:
        return {};
    }
}

} // namespace

DataAccessError::DataAccessError(FailureKind kind, int number, const QString &description)
    : m_kind(kind),
      m_number(number),
      m_description(description),
      m_what(QStringLiteral("%1 (%2)").arg(description).arg(number).toUtf8())
{ }

DataAccessError DataAccessError::databaseFailed(int number, const QString &description)
{
    return DataAccessError(FailureKind::DatabaseFailed, number, description);
}

DataAccessError DataAccessError::fromSqlError(const QSqlError &error, const QString &context)
{
    bool numeric = false;
    const int number = error.nativeErrorCode().toInt(&numeric);
    const int primary = numeric ? (number & 0xff) : -1;
    const QString detail = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();

    QString description = plainReason(primary);
    if (description.isEmpty())
        description = detail;
    else if (!detail.isEmpty() && detail != description)
        description += QStringLiteral(" (%1)").arg(detail);
    if (!context.isEmpty())
        description = context + QStringLiteral(": ") + description;

    const FailureKind kind
        = refusesOnlyTheRow(primary) ? FailureKind::RowRefused : FailureKind::DatabaseFailed;
    return DataAccessError(kind, numeric ? number : 1, description);
}

} // namespace dataaccess
