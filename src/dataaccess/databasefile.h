#pragma once

#include <functional>
#include <QSqlDatabase>
#include <QString>
#include <QtGlobal>

namespace dataaccess {

class Connection;
struct PasswordVerifier;

// Marks a SQLite file as one of ours, in the header's application_id field.
constexpr quint32 ApplicationId = 0x56414C44; // "VALD"

// Judges what lies at file (path as localFilePath() finds it; path names it
// in messages) from the file system and the file's first bytes alone, so
// that nothing is ever written to a file that is not ours (a real Access
// file above all). Throws DataAccessError with a plain reason.
void checkDatabaseFile(const QString &path, const QString &file);

// True when the system will not even tell whether file is there: the user
// may not search a folder on its way.
bool isAccessRefused(const QString &file);

// SQLite URI for an existing local file that must not be created if it
// vanishes; readOnly opens it for reading alone.
QString sqliteUriForExistingFile(const QString &file, bool readOnly = false);

// Makes a new database at path protected by password. populate() runs on an
// open connection to it before it takes the name, so a failure, here or in
// populate(), leaves nothing at path. Refuses to replace an existing file.
void createDatabase(const QString &path, const QString &password,
                    const std::function<void(Connection &)> &populate);

// The verifier the database keeps for its password; throws DataAccessError
// when the database cannot be read or keeps none (a view in place of the
// table counts as none: it could compute forever).
PasswordVerifier readPasswordVerifier(const QSqlDatabase &database);

// Makes a write beyond the process's file-size limit fail with EFBIG, which
// SQLite reports, instead of ending the process with SIGXFSZ. A handler the
// program installed before the first call stays in place; only the first
// call does anything.
void reportFileSizeLimitAsFailure();

} // namespace dataaccess
