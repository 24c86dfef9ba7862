#ifndef TESTS_SUPPORT_TESTTERMINAL_H
#define TESTS_SUPPORT_TESTTERMINAL_H

// An exam terminal for tests and for trying a server by hand: one TCP
// connection, the frames, the challenge-response handshake and the
// encrypted message types, all with its own code (see testterminalaes.h).
// Blocking calls with time limits; one thread uses an object at a time.

#include "tests/support/testterminalframe.h"

#include <QByteArray>
#include <QString>

class TestTerminal
{
public:
    TestTerminal();
    ~TestTerminal();

    TestTerminal(const TestTerminal &) = delete;
    TestTerminal &operator=(const TestTerminal &) = delete;

    // Applied at the next connectTo(): a small receive buffer makes a
    // terminal that stops reading fill up quickly.
    void setReceiveBufferSize(int bytes);
    bool connectTo(const QString &host, quint16 port, int timeoutMs = 2000);
    bool isConnected() const;
    // Orderly close (FIN).
    void close();
    // Close with a reset (RST), as a terminal that is switched off.
    void abort();

    bool sendRaw(const QByteArray &bytes);
    bool sendFrame(int type, const QByteArray &payload);
    // Encrypts the plain payload with the current key and a fresh random IV,
    // and sends it as a frame of the given (encrypted) type.
    bool sendEncrypted(int type, const QByteArray &plainPayload);

    // Waits for the next frame; false on time-out, end of stream, a reset or
    // a length field below 3 (see errorString()).
    bool readFrame(TestTerminalFrame *frame, int timeoutMs = 2000);
    // Discards what arrives until the server closes the connection; false
    // when it is still open after timeoutMs.
    bool waitForClosed(int timeoutMs = 1000);
    // True when no byte arrives for quietMs (bytes that do are kept).
    bool staysQuiet(int quietMs);

    // Reads the first frame, which must be the challenge (type 10), and
    // derives the connection key from it; answers nothing.
    bool readChallenge(int timeoutMs = 2000);
    bool sendAnswer(const QByteArray &response);
    // readChallenge() then the right answer.
    bool handshake(int timeoutMs = 2000);

    QByteArray challenge() const;
    QByteArray key() const;
    void setKey(const QByteArray &key);
    // Decrypts the payload of an encrypted frame with the current key.
    bool decrypt(const TestTerminalFrame &frame, QByteArray *plainPayload) const;

    QString errorString() const;

private:
    bool fill(int timeoutMs);
    bool fail(const QString &error);

    int m_socket = -1;
    int m_receiveBufferSize = 0;
    QByteArray m_received;
    QByteArray m_challenge;
    QByteArray m_key;
    QString m_error;
};

#endif // TESTS_SUPPORT_TESTTERMINAL_H
