#include "dataaccess/passwordverifier.h"

#include <QPasswordDigestor>
#include <QRandomGenerator>

namespace dataaccess {

namespace {

const QString Pbkdf2Sha256 = QStringLiteral("pbkdf2-sha256");
// An empty password has no secret to keep: a slow digest of it would only
// slow down every open of a database that has none.
const QString NoPassword = QStringLiteral("none");
constexpr int SaltBytes = 16;
constexpr int DigestBytes = 32;
constexpr int IterationLatitude = 10;

QByteArray derive(const QString &password, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, iterations,
                                              DigestBytes);
}

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
