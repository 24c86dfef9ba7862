#include "server/network/handshake.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QString>

#include <cstring>

const char CLIENT_AUTH_SECRET[] = "a4d81f0c6e39b2570d1c8e4f6a93b05d2e7c1f48a06b9d3e5c72f1a08";

namespace {
const int KEY_ITERATIONS = 5;
} // namespace

QByteArray Handshake::secret()
{
    return QString::fromLatin1(CLIENT_AUTH_SECRET).toLocal8Bit();
}

QByteArray Handshake::newChallenge()
{
    quint32 words[CHALLENGE_SIZE / 4];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char *>(words), CHALLENGE_SIZE);
}

QByteArray Handshake::expectedResponse(const QByteArray &challenge)
{
    const QByteArray inner = QCryptographicHash::hash(secret(), QCryptographicHash::Md5);
    return QCryptographicHash::hash(inner + challenge, QCryptographicHash::Md5);
}

QByteArray Handshake::connectionKey(const QByteArray &challenge)
{
    const QByteArray s = secret();
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha1, s + challenge, s,
                                              KEY_ITERATIONS, KEY_SIZE);
}

bool Handshake::matches(const QByteArray &expected, const char *response16)
{
    if (response16 == nullptr || expected.size() != RESPONSE_SIZE)
        return false;
    return std::memcmp(expected.constData(), response16, RESPONSE_SIZE) == 0;
}
