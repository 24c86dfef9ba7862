#ifndef TESTS_SUPPORT_TESTTERMINALCRYPTO_H
#define TESTS_SUPPORT_TESTTERMINALCRYPTO_H

// What a terminal computes in the handshake and for each encrypted message,
// written from the protocol's description alone.

#include <QByteArray>

class TestTerminalCrypto
{
public:
    // The secret the terminals share with the server: the 57 hexadecimal
    // characters themselves, not the bytes they spell.
    static QByteArray secret();

    static QByteArray md5(const QByteArray &data);
    static QByteArray hmacSha1(const QByteArray &key, const QByteArray &message);
    // RFC 8018 PBKDF2 with HMAC-SHA1; empty for a non-positive count or size.
    static QByteArray pbkdf2HmacSha1(const QByteArray &password, const QByteArray &salt,
                                     int iterations, int size);

    // MD5(MD5(secret) || challenge).
    static QByteArray handshakeResponse(const QByteArray &challenge);
    // PBKDF2-HMAC-SHA1(secret || challenge, secret, 5, 32).
    static QByteArray handshakeKey(const QByteArray &challenge);

    // The payload of an encrypted frame: pad count, IV, AES-256-CBC of the
    // plain payload padded with zero bytes to whole blocks (one at least).
    // Empty when the key is not 32 bytes or the IV not 16.
    static QByteArray encryptPayload(const QByteArray &key, const QByteArray &iv,
                                     const QByteArray &plain);
    // The inverse, refusing what the server refuses: 16 bytes or fewer, a
    // ciphertext that is empty or not whole blocks, a pad count larger
    // than the ciphertext.
    static bool decryptPayload(const QByteArray &key, const QByteArray &payload,
                               QByteArray *plain);
};

#endif // TESTS_SUPPORT_TESTTERMINALCRYPTO_H
