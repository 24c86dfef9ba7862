#ifndef TESTS_SUPPORT_TESTTERMINALAES_H
#define TESTS_SUPPORT_TESTTERMINALAES_H

// AES-256 (14 rounds) and CBC for the test terminal, written apart from the
// server's cipher so that a mistake in one cannot hide behind the other.

#include <QByteArray>

class TestTerminalAes
{
public:
    // The key must be 32 bytes; any other size leaves the object invalid.
    explicit TestTerminalAes(const QByteArray &key);

    bool isValid() const;
    QByteArray encryptBlock(const QByteArray &block) const;
    QByteArray decryptBlock(const QByteArray &block) const;
    // The data must be a whole number of 16-byte blocks and the IV 16
    // bytes; otherwise the result is empty.
    QByteArray encryptCbc(const QByteArray &iv, const QByteArray &data) const;
    QByteArray decryptCbc(const QByteArray &iv, const QByteArray &data) const;

private:
    void encrypt(unsigned char *state) const;
    void decrypt(unsigned char *state) const;

    unsigned char m_roundKeys[240] = {};
    bool m_valid = false;
};

#endif // TESTS_SUPPORT_TESTTERMINALAES_H
