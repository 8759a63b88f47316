// A second process for tests that need one: it holds a lock on a database,
// or inserts rows until it is killed.
#include "dataaccess/connection.h"
#include "dataaccess/connectionstring.h"
#include "testdatabases.h"

#include <cstdio>
#include <iostream>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <string>

namespace {

// Holds a lock until standard input closes: "BEGIN EXCLUSIVE" keeps
// everybody out, "BEGIN IMMEDIATE" other writers only, as a writing program
// does.
int holdLock(const QString &path, const QString &begin)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    QSqlQuery query(db);
    if (!db.open() || !query.exec(begin)) {
        std::puts("failed");
        return 1;
    }
    std::puts("locked");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    query.exec(QStringLiteral("ROLLBACK"));
    return 0;
}

// Inserts rows 1, 2, 3, ... into Codes. Every 50 rows it prints
// "ROW TIME": row ROW and all before it had been executed successfully at
// TIME, milliseconds on the monotonic clock all processes share.
int insertForever(const QString &path, const QString &password)
{
    dataaccess::Connection db;
    db.setConnectionString(dataaccess::ConnectionString::forJet(path, password));
    try {
        db.open();
        for (qint64 row = 1;; ++row) {
            db.execute(QStringLiteral("INSERT INTO Codes (Kode, Uraian) VALUES ('%1', 'row %1')").arg(row));
            if (row % 50 == 0) {
                std::printf("%lld %lld\n", static_cast<long long>(row),
                            static_cast<long long>(testsupport::monotonicMilliseconds()));
                std::fflush(stdout);
                QCoreApplication::processEvents();
            }
        }
    } catch (const dataaccess::DataAccessError &failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("lock"))
        return holdLock(args.at(2), QStringLiteral("BEGIN EXCLUSIVE"));
    if (args.size() == 3 && args.at(1) == QLatin1String("write"))
        return holdLock(args.at(2), QStringLiteral("BEGIN IMMEDIATE"));
    if (args.size() == 4 && args.at(1) == QLatin1String("insert"))
        return insertForever(args.at(2), args.at(3));
    std::fputs("usage: dbhelper lock PATH | write PATH | insert PATH PASSWORD\n", stderr);
    return 2;
}
