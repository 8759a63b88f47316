#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <stdexcept>

// The commands of valdoren-db, the operators' and tests' tool for making and
// reading databases.
namespace dbcommands {

// Bad input of any kind; the message is one line for the operator.
class CommandError : public std::runtime_error
{
public:
    explicit CommandError(const QString &message) : std::runtime_error(message.toStdString()) { }
};

QString usage();

// Runs the command named by arguments (without the program name); writes
// the output of dump to out. Throws CommandError.
void run(const QStringList &arguments, QIODevice &out);

void createTarget(const QString &path, const QString &programName);
void createSource(const QString &path, const QString &folder, const QStringList &locodeFiles);
void dump(const QString &path, const QString &table, const QString &password, QIODevice &out);

} // namespace dbcommands
