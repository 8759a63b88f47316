#pragma once

#include <QByteArray>
#include <QString>

namespace dataaccess {

// What a database keeps in place of its password: a salted PBKDF2-SHA256
// digest, slow on purpose so that a copied file does not give the password
// away cheaply; an empty password, which has no secret to keep, is recorded
// as "none". It guards access; it does not encrypt anything.
struct PasswordVerifier
{
    static constexpr int DefaultIterations = 60000;

    QString algorithm;
    int iterations = 0;
    QByteArray salt;
    QByteArray digest;

    static PasswordVerifier make(const QString &password, int iterations = DefaultIterations);
    bool matches(const QString &password) const;
};

} // namespace dataaccess
