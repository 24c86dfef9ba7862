#ifndef SERVER_NETWORK_HANDSHAKE_H
#define SERVER_NETWORK_HANDSHAKE_H

#include <QByteArray>

// The secret the terminals share with the server: the 57 hexadecimal
// characters themselves are the secret bytes, not the bytes they spell.
extern const char CLIENT_AUTH_SECRET[];

// What the server computes for a connection's challenge-response handshake.
// The challenge is random per connection, so two terminals connecting in the
// same second never share a challenge and therefore never share a key.
class Handshake
{
public:
    static const int CHALLENGE_SIZE = 16;
    static const int RESPONSE_SIZE = 16;
    static const int KEY_SIZE = 32;

    // S: the secret in the local 8-bit code page.
    static QByteArray secret();
    // 16 bytes from the system's cryptographic generator.
    static QByteArray newChallenge();
    // MD5(MD5(S) || challenge), raw 16 bytes.
    static QByteArray expectedResponse(const QByteArray &challenge);
    // PBKDF2-HMAC-SHA1(S || challenge, salt S, 5 iterations), 32 bytes.
    static QByteArray connectionKey(const QByteArray &challenge);
    // An answer matches only a stored response of the full size: a missing
    // (empty) expected response never lets an answer through.
    static bool matches(const QByteArray &expected, const char *response16);

    Handshake() = delete;
};

#endif // SERVER_NETWORK_HANDSHAKE_H
