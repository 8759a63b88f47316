#include "dataaccess/passwordverifier.h"

#include <openssl/evp.h>
#include <QRandomGenerator>

namespace dataaccess {

namespace {

const QString Pbkdf2Sha256 = QStringLiteral("pbkdf2-sha256");
// An empty password has no secret to keep: a slow digest of it would only
// slow down every open of a database that has none.
const QString NoPassword = QStringLiteral("none");
constexpr int SaltBytes = 16;
constexpr int IterationLatitude = 10;

// Same time whatever the first differing byte, so timing tells nothing.
bool equalInConstantTime(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return difference == 0;
}

} // namespace

// OpenSSL's derivation takes a few milliseconds where Qt's took about a
// hundred, and every open of a protected database pays it.
QByteArray PasswordVerifier::derive(const QString &password, const QByteArray &salt, int iterations,
                                    int bytes)
{
    const QByteArray secret = password.toUtf8();
    QByteArray key(bytes, Qt::Uninitialized);
    const bool derived = PKCS5_PBKDF2_HMAC(secret.constData(), static_cast<int>(secret.size()),
                                           reinterpret_cast<const unsigned char *>(salt.constData()),
                                           static_cast<int>(salt.size()), iterations, EVP_sha256(), bytes,
                                           reinterpret_cast<unsigned char *>(key.data()))
        == 1;
    return derived ? key : QByteArray();
}

PasswordVerifier PasswordVerifier::make(const QString &password, int iterations)
{
    if (password.isEmpty())
        return {NoPassword, 0, QByteArray(""), QByteArray("")}; // empty, not null
    QByteArray salt(SaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                          SaltBytes / sizeof(quint32));
    return {Pbkdf2Sha256, iterations, salt, derive(password, salt, iterations)};
}

bool PasswordVerifier::isPlausible() const
{
    if (algorithm == NoPassword)
        return iterations == 0 && salt.isEmpty() && digest.isEmpty();
    return algorithm == Pbkdf2Sha256 && iterations >= DefaultIterations / IterationLatitude
        && iterations <= DefaultIterations * IterationLatitude && salt.size() == SaltBytes
        && digest.size() == DigestBytes;
}

bool PasswordVerifier::matches(const QString &password) const
{
    if (!isPlausible())
        return false;
    if (algorithm == NoPassword)
        return password.isEmpty();
    return equalInConstantTime(derive(password, salt, iterations), digest);
}

} // namespace dataaccess
