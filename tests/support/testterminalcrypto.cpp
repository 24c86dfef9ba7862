#include "tests/support/testterminalcrypto.h"

#include "tests/support/testterminalaes.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QtEndian>

QByteArray TestTerminalCrypto::secret()
{
    return QByteArrayLiteral("a4d81f0c6e39b2570d1c8e4f6a93b05d2e7c1f48a06b9d3e5c72f1a08");
}

QByteArray TestTerminalCrypto::md5(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Md5);
}

QByteArray TestTerminalCrypto::hmacSha1(const QByteArray &key, const QByteArray &message)
{
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha1);
}

QByteArray TestTerminalCrypto::pbkdf2HmacSha1(const QByteArray &password, const QByteArray &salt,
                                              int iterations, int size)
{
    if (iterations <= 0 || size <= 0)
        return QByteArray();
    QByteArray out;
    for (quint32 block = 1; out.size() < size; ++block) {
        char index[4];
        qToBigEndian(block, index);
        QByteArray u = hmacSha1(password, salt + QByteArray(index, 4));
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            u = hmacSha1(password, u);
            for (int j = 0; j < t.size(); ++j)
                t[j] = static_cast<char>(t[j] ^ u[j]);
        }
        out += t;
    }
    return out.left(size);
}

QByteArray TestTerminalCrypto::handshakeResponse(const QByteArray &challenge)
{
    return md5(md5(secret()) + challenge);
}

QByteArray TestTerminalCrypto::handshakeKey(const QByteArray &challenge)
{
    return pbkdf2HmacSha1(secret() + challenge, secret(), 5, 32);
}

QByteArray TestTerminalCrypto::encryptPayload(const QByteArray &key, const QByteArray &iv,
                                              const QByteArray &plain)
{
    const TestTerminalAes aes(key);
    if (!aes.isValid() || iv.size() != 16)
        return QByteArray();
    const int pad = (16 - plain.size() % 16) % 16;
    QByteArray padded = plain + QByteArray(pad, '\0');
    if (padded.isEmpty())
        padded = QByteArray(16, '\0');
    const int padCount = padded.size() - plain.size();
    return QByteArray(1, static_cast<char>(padCount)) + iv + aes.encryptCbc(iv, padded);
}

bool TestTerminalCrypto::decryptPayload(const QByteArray &key, const QByteArray &payload,
                                        QByteArray *plain)
{
    const TestTerminalAes aes(key);
    if (!aes.isValid() || payload.size() <= 16)
        return false;
    const int pad = static_cast<unsigned char>(payload.at(0));
    const QByteArray iv = payload.mid(1, 16);
    const QByteArray cipher = payload.mid(17);
    if (cipher.isEmpty() || cipher.size() % 16 != 0 || pad > cipher.size())
        return false;
    if (plain)
        *plain = aes.decryptCbc(iv, cipher).left(cipher.size() - pad);
    return true;
}
