#include "tests/support/testterminal.h"

#include "tests/support/testterminalcrypto.h"
#include "tests/support/testterminalmessages.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TestTerminal::TestTerminal() = default;

TestTerminal::~TestTerminal()
{
    close();
}

void TestTerminal::setReceiveBufferSize(int bytes)
{
    m_receiveBufferSize = bytes;
}

bool TestTerminal::connectTo(const QString &host, quint16 port, int timeoutMs)
{
    close();
    m_received.clear();
    m_challenge.clear();
    m_key.clear();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *list = nullptr;
    const int resolved = ::getaddrinfo(host.toUtf8().constData(),
                                       QByteArray::number(port).constData(), &hints, &list);
    if (resolved != 0)
        return fail(QStringLiteral("cannot resolve %1: %2").arg(host, gai_strerror(resolved)));
    int lastErrno = 0;
    for (addrinfo *a = list; a != nullptr && m_socket < 0; a = a->ai_next) {
        const int s = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                               a->ai_protocol);
        if (s < 0) {
            lastErrno = errno;
            continue;
        }
        if (m_receiveBufferSize > 0)
            ::setsockopt(s, SOL_SOCKET, SO_RCVBUF, &m_receiveBufferSize,
                         sizeof m_receiveBufferSize);
        int result = ::connect(s, a->ai_addr, a->ai_addrlen);
        if (result != 0 && errno == EINPROGRESS) {
            pollfd p{s, POLLOUT, 0};
            if (::poll(&p, 1, timeoutMs) == 1) {
                int soError = 0;
                socklen_t length = sizeof soError;
                ::getsockopt(s, SOL_SOCKET, SO_ERROR, &soError, &length);
                errno = soError;
                result = soError == 0 ? 0 : -1;
            } else {
                errno = ETIMEDOUT;
            }
        }
        if (result != 0) {
            lastErrno = errno;
            ::close(s);
            continue;
        }
        m_socket = s;
    }
    ::freeaddrinfo(list);
    if (m_socket < 0)
        return fail(QStringLiteral("cannot connect to %1:%2: %3")
                        .arg(host)
                        .arg(port)
                        .arg(QString::fromLocal8Bit(std::strerror(lastErrno))));
    const int on = 1;
    ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    m_error.clear();
    return true;
}

bool TestTerminal::isConnected() const
{
    return m_socket >= 0;
}

void TestTerminal::close()
{
    if (m_socket >= 0) {
        ::close(m_socket);
        m_socket = -1;
    }
}

void TestTerminal::abort()
{
    if (m_socket >= 0) {
        const linger reset{1, 0};
        ::setsockopt(m_socket, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    }
    close();
}

bool TestTerminal::sendRaw(const QByteArray &bytes)
{
    if (m_socket < 0)
        return fail(QStringLiteral("not connected"));
    int sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(m_socket, bytes.constData() + sent,
                                 static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<int>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{m_socket, POLLOUT, 0};
            if (::poll(&p, 1, 2000) != 1)
                return fail(QStringLiteral("send timed out"));
        } else if (n < 0 && errno != EINTR) {
            return fail(QStringLiteral("send failed: %1")
                            .arg(QString::fromLocal8Bit(std::strerror(errno))));
        }
    }
    return true;
}

bool TestTerminal::sendFrame(int type, const QByteArray &payload)
{
    const QByteArray frame = TestTerminalFrame::encode(type, payload);
    if (frame.isEmpty())
        return fail(QStringLiteral("frame of type %1 cannot be encoded").arg(type));
    return sendRaw(frame);
}

bool TestTerminal::sendEncrypted(int type, const QByteArray &plainPayload)
{
    QByteArray iv(16, '\0');
    for (char &b : iv)
        b = static_cast<char>(QRandomGenerator::global()->bounded(256));
    const QByteArray payload = TestTerminalCrypto::encryptPayload(m_key, iv, plainPayload);
    if (payload.isEmpty())
        return fail(QStringLiteral("no 32-byte key to encrypt with"));
    return sendFrame(type, payload);
}

bool TestTerminal::fill(int timeoutMs)
{
    if (m_socket < 0)
        return fail(QStringLiteral("not connected"));
    pollfd p{m_socket, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
    if (ready == 0)
        return fail(QStringLiteral("timed out"));
    if (ready < 0)
        return fail(QStringLiteral("poll failed"));
    char buffer[32768];
    const ssize_t n = ::recv(m_socket, buffer, sizeof buffer, 0);
    if (n > 0) {
        m_received.append(buffer, static_cast<int>(n));
        return true;
    }
    if (n == 0)
        return fail(QStringLiteral("connection closed by the server"));
    if (errno == EINTR || errno == EAGAIN)
        return true;
    return fail(QStringLiteral("receive failed: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno))));
}

bool TestTerminal::readFrame(TestTerminalFrame *frame, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        switch (TestTerminalFrame::take(&m_received, frame)) {
        case TestTerminalFrame::Complete:
            return true;
        case TestTerminalFrame::Invalid:
            return fail(QStringLiteral("invalid frame length"));
        case TestTerminalFrame::Incomplete:
            break;
        }
        if (!fill(static_cast<int>(deadline.remainingTime())))
            return false;
    }
}

bool TestTerminal::waitForClosed(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (m_socket >= 0) {
        pollfd p{m_socket, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(deadline.remainingTime())) != 1)
            return fail(QStringLiteral("still open"));
        char buffer[32768];
        const ssize_t n = ::recv(m_socket, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            return true;
    }
    return true;
}

bool TestTerminal::staysQuiet(int quietMs)
{
    if (m_socket < 0)
        return fail(QStringLiteral("not connected"));
    pollfd p{m_socket, POLLIN, 0};
    if (::poll(&p, 1, quietMs) == 0)
        return true;
    fill(0);
    return fail(QStringLiteral("bytes or an end of stream arrived"));
}

bool TestTerminal::readChallenge(int timeoutMs)
{
    TestTerminalFrame frame;
    if (!readFrame(&frame, timeoutMs))
        return false;
    QByteArray challenge;
    if (frame.type != TestTerminalMessages::AuthenStateOne
        || !TestTerminalMessages::parseAuthen(frame.payload, &challenge))
        return fail(QStringLiteral("first frame is type %1 of length %2, not a challenge")
                        .arg(frame.type)
                        .arg(frame.length()));
    m_challenge = challenge;
    m_key = TestTerminalCrypto::handshakeKey(challenge);
    return true;
}

bool TestTerminal::sendAnswer(const QByteArray &response)
{
    return sendFrame(TestTerminalMessages::AuthenStateTwo,
                     TestTerminalMessages::authenStateTwo(response));
}

bool TestTerminal::handshake(int timeoutMs)
{
    return readChallenge(timeoutMs)
           && sendAnswer(TestTerminalCrypto::handshakeResponse(m_challenge));
}

QByteArray TestTerminal::challenge() const
{
    return m_challenge;
}

QByteArray TestTerminal::key() const
{
    return m_key;
}

void TestTerminal::setKey(const QByteArray &key)
{
    m_key = key;
}

bool TestTerminal::decrypt(const TestTerminalFrame &frame, QByteArray *plainPayload) const
{
    return TestTerminalCrypto::decryptPayload(m_key, frame.payload, plainPayload);
}

QString TestTerminal::errorString() const
{
    return m_error;
}

bool TestTerminal::fail(const QString &error)
{
    m_error = error;
    return false;
}
