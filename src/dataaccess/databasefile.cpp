#include "dataaccess/databasefile.h"

#include "dataaccess/connection.h"
#include "dataaccess/connectionstring.h"
#include "dataaccess/dataaccesserror.h"
#include "dataaccess/passwordverifier.h"
#include "dataaccess/windowspath.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QtEndian>
#include <signal.h>
#include <sys/stat.h>

namespace dataaccess {

namespace {

const QString PasswordTable = QStringLiteral("valdoren_password");
// SQLite's Unix file layer takes full paths of up to 512 bytes; its journal
// adds "-journal" to the name.
constexpr int MaxPathBytes = 500;
constexpr int HeaderBytes = 100;

[[noreturn]] void refuse(int number, const QString &path, const QString &reason)
{
    throw DataAccessError::databaseFailed(number, path, reason);
}

// path names the file in messages; file is where it lies.
void checkPathLength(const QString &path, const QString &file)
{
    const qsizetype bytes = QFile::encodeName(QFileInfo(file).absoluteFilePath()).size();
    if (bytes > MaxPathBytes)
        refuse(errc::PathTooLong, path,
               DataAccessError::tr("the path is too long (%1 bytes, where at most %2 can be opened): move "
                                   "the file to a folder with a shorter path")
                   .arg(bytes)
                   .arg(MaxPathBytes));
}

void checkHeader(const QString &path, const QByteArray &header)
{
    if (header.isEmpty())
        refuse(errc::EmptyFile, path, DataAccessError::tr("the file is empty, not a database"));
    const QByteArray accessSignature = header.mid(4, 15);
    if (accessSignature == "Standard Jet DB" || accessSignature == "Standard ACE DB")
        refuse(errc::AccessDatabase, path,
               DataAccessError::tr("this is a Microsoft Access database: this program cannot change Access "
                                   "files safely, and left the file as it was"));
    if (header.size() < HeaderBytes || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        refuse(errc::NotADatabase, path, DataAccessError::tr("the file is not a database"));
    const quint32 applicationId = qFromBigEndian<quint32>(header.constData() + 68);
    if (applicationId != ApplicationId)
        refuse(errc::ForeignDatabase, path, DataAccessError::tr("this is another program's database"));
}

QString uniqueConnectionName()
{
    static int counter = 0;
    return QStringLiteral("valdoren-create-%1").arg(++counter);
}

// Gives an empty file its header mark and password record. Runs before any
// Connection may open it, since a Connection refuses files without them.
void initializeFile(const QString &path, const QString &password)
{
    reportFileSizeLimitAsFailure();
    const QString name = uniqueConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        auto closeAndThrow = [&db](const QSqlError &error) {
            db.close();
            throw DataAccessError::fromSqlError(error, DataAccessError::tr("The database cannot be made"));
        };
        if (!db.open())
            closeAndThrow(db.lastError());
        const PasswordVerifier verifier = PasswordVerifier::make(password);
        QSqlQuery query(db);
        const QStringList setup = {
            QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId),
            QStringLiteral("CREATE TABLE %1 (algorithm TEXT NOT NULL, iterations INTEGER NOT NULL, "
                           "salt BLOB NOT NULL, digest BLOB NOT NULL)")
                .arg(PasswordTable),
        };
        for (const QString &statement : setup) {
            if (!query.exec(statement))
                closeAndThrow(query.lastError());
        }
        query.prepare(QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?)").arg(PasswordTable));
        query.addBindValue(verifier.algorithm);
        query.addBindValue(verifier.iterations);
        query.addBindValue(verifier.salt);
        query.addBindValue(verifier.digest);
        if (!query.exec())
            closeAndThrow(query.lastError());
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// Removes the half-made file (and a journal SQLite may have left) unless it
// has been put in place.
class PartFileGuard
{
public:
    explicit PartFileGuard(QString path) : m_path(std::move(path)) { }
    ~PartFileGuard()
    {
        if (m_armed) {
            QFile::remove(m_path);
            QFile::remove(m_path + QStringLiteral("-journal"));
        }
    }
    void disarm() { m_armed = false; }

private:
    QString m_path;
    bool m_armed = true;
};

} // namespace

bool isAccessRefused(const QString &file)
{
    struct stat status;
    return ::stat(QFile::encodeName(file).constData(), &status) != 0 && errno == EACCES;
}

void checkDatabaseFile(const QString &path, const QString &file)
{
    if (path.isEmpty())
        throw DataAccessError::databaseFailed(errc::NoDataSource, {},
                                              DataAccessError::tr("No database file was named"));
    const QFileInfo info(file);
    if (!info.exists()) {
        if (isAccessRefused(file))
            refuse(errc::AccessDenied, path,
                   DataAccessError::tr("access to the file or to its folder is refused (%1)")
                       .arg(QString::fromLocal8Bit(std::strerror(EACCES))));
        refuse(errc::FileNotFound, path, DataAccessError::tr("the file does not exist"));
    }
    if (info.isDir())
        refuse(errc::IsDirectory, path, DataAccessError::tr("this is a folder, not a database file"));
    if (!info.isFile())
        refuse(errc::NotADatabase, path, DataAccessError::tr("this is not an ordinary file"));
    checkPathLength(path, file);
    QFile opened(file);
    if (!opened.open(QIODevice::ReadOnly))
        refuse(errc::Unreadable, path,
               DataAccessError::tr("the file cannot be read (%1)").arg(opened.errorString()));
    checkHeader(path, opened.read(HeaderBytes));
}

QString sqliteUriForExistingFile(const QString &file, bool readOnly)
{
    // In a URI only %, ? and # are special; everything else may stand as is.
    QString escaped;
    const QString absolute = QFileInfo(file).absoluteFilePath();
    escaped.reserve(absolute.size());
    for (const QChar c : absolute) {
        if (c == QLatin1Char('%') || c == QLatin1Char('?') || c == QLatin1Char('#'))
            escaped += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    // "file://" with an empty authority, so a path starting with "//" stays a path;
    // mode=rw makes SQLite fail rather than create a file that has vanished.
    return QStringLiteral("file://") + escaped
        + (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw"));
}

PasswordVerifier readPasswordVerifier(const QSqlDatabase &database)
{
    const auto noRecord = [] {
        return DataAccessError::databaseFailed(
            errc::ForeignDatabase, {}, DataAccessError::tr("The database keeps no database password record"));
    };
    const auto readFailure = [](const QSqlQuery &failed) {
        return DataAccessError::fromSqlError(failed.lastError(),
                                             DataAccessError::tr("The database cannot be read"));
    };
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT type = 'table' FROM sqlite_schema WHERE name = '%1'").arg(PasswordTable)))
        throw readFailure(query);
    if (!query.next() || !query.value(0).toBool())
        throw noRecord();
    if (!query.exec(QStringLiteral("SELECT algorithm, iterations, salt, digest FROM %1").arg(PasswordTable)))
        throw readFailure(query);
    if (!query.next()) {
        if (query.lastError().isValid())
            throw readFailure(query);
        throw noRecord();
    }
    // A count beyond int stays beyond what is plausible, not wrapped into it.
    const int iterations = static_cast<int>(std::clamp<qint64>(query.value(1).toLongLong(), -1, INT_MAX));
    return {query.value(0).toString(), iterations, query.value(2).toByteArray(),
            query.value(3).toByteArray()};
}

void reportFileSizeLimitAsFailure()
{
    static const bool done = [] {
        struct sigaction current = {};
        if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            current.sa_handler = SIG_IGN;
            sigaction(SIGXFSZ, &current, nullptr);
        }
        return true;
    }();
    Q_UNUSED(done);
}

void createDatabase(const QString &path, const QString &password,
                    const std::function<void(Connection &)> &populate)
{
    const QString local = localFilePath(path);
    const QFileInfo target(local);
    if (target.exists() || target.isSymLink())
        refuse(errc::AlreadyExists, path, DataAccessError::tr("a file of that name exists already"));
    const QDir folder = target.absoluteDir();
    if (!folder.exists())
        refuse(errc::CannotCreate, path, DataAccessError::tr("the folder does not exist"));
    checkPathLength(path, local);

    // A fresh name beside the target (so the final rename stays on one file
    // system), created exclusively so no other file is ever taken over.
    const QString partPath
        = folder.filePath(QStringLiteral(".%1.%2.part")
                              .arg(target.fileName())
                              .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0')));
    QFile part(partPath);
    if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        refuse(errc::CannotCreate, path,
               DataAccessError::tr("nothing can be written in the folder (%1)").arg(part.errorString()));
    part.close();
    PartFileGuard guard(partPath);

    initializeFile(partPath, password);
    Connection connection;
    connection.setConnectionString(ConnectionString::forJet(partPath, password));
    connection.open();
    // One transaction, whatever the machine's speed: the file's change
    // counter then counts the same commits every time, and the same content
    // gives the same bytes.
    connection.beginTrans();
    populate(connection);
    connection.commitTrans();
    connection.close();

    // Refuses to replace a file that appeared meanwhile.
    if (!QFile::rename(partPath, local))
        refuse(errc::AlreadyExists, path, DataAccessError::tr("the new database cannot be put in place"));
    guard.disarm();
}

} // namespace dataaccess
