#pragma once

#include <functional>
#include <QByteArray>
#include <QString>

class QIODevice;

namespace dataaccess {
class Connection;
}

// What valdoren-db's commands share.
namespace dbcommands {

// Opens the database at path with password for reading only.
dataaccess::Connection &openForReading(dataaccess::Connection &db, const QString &path,
                                       const QString &password);

// Output that cannot be written (a full disk, a closed pipe) ends the
// command at once, saying so, where SIGPIPE would end it without a word.
void write(QIODevice &out, const QByteArray &bytes);

// A failure of a database reaches the operator as one line.
void asCommand(const std::function<void()> &action);

} // namespace dbcommands
