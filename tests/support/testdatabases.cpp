#include "testdatabases.h"

#include "dataaccess/connection.h"
#include "dataaccess/connectionstring.h"
#include "dataaccess/databasefile.h"
#include "dataaccess/recordset.h"
#include "dataaccess/sqltext.h"

#include <chrono>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <unistd.h>

namespace testsupport {

void makeTarget(const QString &path, lorvanta::Program program)
{
    lorvanta::createTargetDatabase(path, program);
}

void makeDatabase(const QString &path, const QString &password, const QStringList &statements)
{
    dataaccess::createDatabase(path, password, [&statements](dataaccess::Connection &db) {
        for (const QString &statement : statements)
            db.execute(statement);
    });
}

void makeSource(const QString &path, const CodeLists &lists, const QStringList &leaveOut)
{
    dataaccess::createDatabase(path, QString(), [&](dataaccess::Connection &db) {
        for (const QString &table : lorvanta::sourceTables()) {
            if (leaveOut.contains(table))
                continue;
            db.execute(lorvanta::createSourceTableStatement(table));
            for (const CodeRow &row : lists.value(table))
                db.execute(
                    QStringLiteral("INSERT INTO %1 VALUES (%2, %3)")
                        .arg(table, dataaccess::sqlLiteral(row.first), dataaccess::sqlLiteral(row.second)));
        }
    });
}

QList<CodeRow> tableRows(const QString &path, const QString &password, const QString &table)
{
    dataaccess::Connection db;
    db.setConnectionString(jetConnectionString(path, password));
    db.open();
    dataaccess::Recordset rows;
    rows.open(QStringLiteral("SELECT * FROM ") + table, db);
    const QStringList names = rows.fieldNames();
    QList<CodeRow> result;
    for (; !rows.eof(); rows.moveNext())
        result.append({rows.field(names.at(0)), rows.field(names.at(1))});
    return result;
}

QString jetConnectionString(const QString &path, const QString &password)
{
    return dataaccess::ConnectionString::forJet(path, password);
}

FileSnapshot snapshot(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return {file.readAll(), QFileInfo(path).lastModified()};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

bool garbleMiddle(const QString &path)
{
    const QByteArray garbage(16384, '\x5a');
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.size() > 40000
        && file.seek(file.size() / 2 - garbage.size() / 2) && file.write(garbage) == garbage.size();
}

namespace {

// Read for all, and a folder stays one that can be entered.
QFile::Permissions readable(const QString &path)
{
    const QFile::Permissions read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    return QFileInfo(path).isDir() ? read | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther : read;
}

} // namespace

bool makeReadOnly(const QString &path)
{
    if (::geteuid() != 0)
        return QFile::setPermissions(path, readable(path));
    return QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
}

void makeWritable(const QString &path)
{
    if (::geteuid() == 0)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    QFile::setPermissions(path, readable(path) | QFile::WriteOwner);
}

void executeStatements(const QString &path, const QString &password, const QStringList &statements)
{
    dataaccess::Connection db;
    db.setConnectionString(jetConnectionString(path, password));
    db.open();
    for (const QString &statement : statements)
        db.execute(statement);
    db.close();
}

namespace {

bool isOpenHere(const QString &path)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : descriptors.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(descriptors.filePath(fd)).symLinkTarget() == file)
            return true;
    }
    return false;
}

bool anotherProcessLocksExclusively(const QString &path)
{
    QProcess locker;
    locker.start(builtProgram(QStringLiteral("dbhelper")), {QStringLiteral("lock"), path});
    const bool answered = locker.waitForReadyRead(30000);
    const bool locked = answered && locker.readLine().trimmed() == "locked";
    locker.closeWriteChannel();
    if (!locker.waitForFinished(30000))
        locker.kill();
    return locked;
}

} // namespace

bool isReleased(const QString &path)
{
    QFile file(path);
    const bool isDatabase
        = file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
    file.close();
    return !isOpenHere(path) && (!isDatabase || anotherProcessLocksExclusively(path));
}

QString integrityCheck(const QString &path)
{
    static int counter = 0;
    const QString name = QStringLiteral("integrity-%1").arg(++counter);
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
                result = query.value(0).toString();
            else
                result = query.lastError().text();
        } else {
            result = db.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

qint64 monotonicMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString builtProgram(const QString &name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

} // namespace testsupport
