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
    static constexpr int DigestBytes = 32;

    QString algorithm;
    int iterations = 0;
    QByteArray salt;
    QByteArray digest;

    static PasswordVerifier make(const QString &password, int iterations = DefaultIterations);
    // Whether this is a record this program could have written: a known
    // algorithm, salt and digest of their sizes, and an iteration count
    // within a factor of ten of its own, so that checking a password costs
    // about what it should (a crafted count would hold the caller for hours).
    bool isPlausible() const;
    // False for a record that is not plausible, without deriving anything.
    bool matches(const QString &password) const;

    // PBKDF2 with HMAC-SHA256 (RFC 8018) over the password's UTF-8 bytes;
    // empty should the library fail.
    static QByteArray derive(const QString &password, const QByteArray &salt, int iterations,
                             int bytes = DigestBytes);
};

} // namespace dataaccess
