#include "server/network/clientsocket.h"

#include "platform/recursivemutexlocker.h"
#include "server/network/clientsocketowner.h"
#include "server/network/handshake.h"
#include "server/protocol/authenstateonemessage.h"
#include "server/protocol/basehandler.h"
#include "server/protocol/basemessage.h"
#include "server/protocol/bytebuffer.h"
#include "server/protocol/consoleoutput.h"

#include <algorithm>
#include <climits>

namespace {
const quint64 RETAINED_BUFFER_BYTES = 256 * 1024;
} // namespace

ClientSocket::ClientSocket(ClientSocketOwner *owner, const QString &peerAddress)
    : m_owner(owner),
      m_peerAddress(peerAddress),
      m_sendBuffer(new ByteBuffer),
      m_outgoing(new ByteBuffer),
      m_codec(&m_cipher)
{
}

ClientSocket::~ClientSocket()
{
    stop();
}

bool ClientSocket::createClientThread(quint64 clientId, SocketApi::Handle socket)
{
    std::lock_guard<std::mutex> stopGuard(m_stopMutex);
    if (m_stopped) {
        SocketApi::closeSocket(socket);
        return false;
    }
    m_clientId = clientId;
    if (socket != SocketApi::InvalidSocket)
        SocketApi::setSendTimeout(socket, SEND_STALL_TIMEOUT_MS);
    {
        RecursiveMutexLocker locker(m_sendLock);
        m_socket = socket;
        // Over the cap before it even started: end it as soon as it runs.
        if (m_ending && m_socket != SocketApi::InvalidSocket)
            SocketApi::shutdown(m_socket, SocketApi::ShutdownBoth);
    }
    if (!m_clientThread.start([this] { clientLoop(); })) {
        ConsoleOutput::writeLine("Can not create client thread");
        return false;
    }
    return true;
}

void ClientSocket::clientLoop()
{
    // The expected answer and the key are in place before the receive
    // thread can read an answer or an encrypted frame.
    sendChallenge();
    if (m_stopping)
        return;
    if (!m_receiveThread.start([this] { receiveLoop(); })) {
        ConsoleOutput::writeLine("Can not create thread for receiving data");
        // Nothing would ever notice this terminal going: remove it now.
        endConnection();
        m_owner->enqueueClientGone(m_clientId);
        return;
    }
    if (!m_sendThread.start([this] { sendLoop(); })) {
        ConsoleOutput::writeLine("Can not create thread for sending data");
        // The receive thread sees the end and has the connection removed.
        endConnection();
    }
}

void ClientSocket::sendChallenge()
{
    const QByteArray challenge = Handshake::newChallenge();
    {
        std::lock_guard<std::mutex> guard(m_authMutex);
        m_expectedResponse = Handshake::expectedResponse(challenge);
    }
    const QByteArray key = Handshake::connectionKey(challenge);
    m_cipher.setKey(key.constData(), key.size());

    AuthenStateOneMessage message;
    message.setChallenge(challenge);
    std::string frame;
    const int length = m_codec.buildFrame(message, &frame);
    if (length < 0)
        return;
    RecursiveMutexLocker locker(m_sendLock);
    if (!locker.isLocked() || m_ending)
        return;
    // The connection is registered before this thread runs, so a sender may
    // already have queued a frame; the terminal still reads the challenge
    // first. The send thread has not started: nothing has left the buffer.
    if (m_sendBuffer->unreadCount() > 0) {
        std::unique_ptr<ByteBuffer> buffer(new ByteBuffer);
        buffer->append(frame.data(), quint64(length));
        buffer->append(m_sendBuffer->unreadData(), m_sendBuffer->unreadCount());
        m_sendBuffer.swap(buffer);
    } else {
        m_sendBuffer->append(frame.data(), quint64(length));
    }
}

void ClientSocket::receiveLoop()
{
    if (m_socket == SocketApi::InvalidSocket) {
        ConsoleOutput::writeLine("Client socket is null. Stop now");
        m_owner->enqueueClientGone(m_clientId);
        return;
    }
    std::string accumulated;
    std::unique_ptr<char[]> area(new char[RECEIVE_SIZE]);
    while (!m_stopping) {
        // SocketApi::recv retries EINTR itself: anything else that is not
        // data is the end of this connection.
        const int n = SocketApi::recv(m_socket, area.get(), RECEIVE_SIZE);
        if (n <= 0) {
            if (!m_stopping)
                m_owner->enqueueClientGone(m_clientId);
            return;
        }
        accumulated.append(area.get(), size_t(n));
        if (!parseMessages(accumulated)) {
            endConnection();
            if (!m_stopping)
                m_owner->enqueueClientGone(m_clientId);
            return;
        }
        if (m_receiveThread.waitForStop(1))
            return;
    }
}

bool ClientSocket::parseMessages(std::string &accumulated)
{
    bool taken = true;
    m_codec.parseMessages(accumulated, m_clientId, [this, &taken](BaseHandler *handler) {
        taken = m_owner->enqueueHandler(handler);
        return taken;
    });
    return taken;
}

void ClientSocket::sendLoop()
{
    if (m_socket == SocketApi::InvalidSocket) {
        ConsoleOutput::writeLine("Client socket is null. Stop now");
        return;
    }
    while (!m_sendThread.stopRequested()) {
        {
            RecursiveMutexLocker locker(m_sendLock);
            if (locker.isLocked() && m_sendBuffer->unreadCount() > 0) {
                std::swap(m_sendBuffer, m_outgoing);
                // Under the lock, so pendingSendBytes() never misses them.
                m_outgoingLeft = m_outgoing->unreadCount();
            }
        }
        // Sent without the lock: senders keep appending to the other buffer
        // meanwhile, however long the terminal takes to read.
        const char *data = m_outgoing->unreadData();
        quint64 left = m_outgoing->unreadCount();
        while (left > 0 && !m_stopping) {
            const int n = SocketApi::send(m_socket, data, int(std::min<quint64>(left, INT_MAX)));
            if (n <= 0) {
                endConnection();
                break;
            }
            data += n;
            left -= quint64(n);
            m_outgoingLeft = left;
        }
        m_outgoing->clear();
        // A video transfer grows both buffers to megabytes; a connection
        // that lives for the whole exam must not keep that memory after it.
        if (m_outgoing->capacity() > RETAINED_BUFFER_BYTES)
            m_outgoing.reset(new ByteBuffer);
        m_outgoingLeft = 0;
        m_sendThread.waitForStop(10);
    }
}

int ClientSocket::send(const BaseMessage *message)
{
    if (message == nullptr)
        return -1;
    std::string frame;
    const int length = m_codec.buildFrame(*message, &frame);
    if (length < 0)
        return -1;

    RecursiveMutexLocker locker(m_sendLock);
    if (!locker.isLocked() || m_ending)
        return -1;
    if (m_sendBuffer->unreadCount() + quint64(length) > MAX_PENDING_SEND_BYTES) {
        endConnection();
        locker.unlock();
        ConsoleOutput::writeLine("Client " + std::to_string(m_clientId.load())
                                 + " is not reading: too many bytes pending, connection closed");
        return -1;
    }
    m_sendBuffer->append(frame.data(), quint64(length));
    return length;
}

void ClientSocket::endConnection()
{
    RecursiveMutexLocker locker(m_sendLock);
    if (!locker.isLocked())
        return;
    m_ending = true;
    m_sendBuffer->clear();
    // Wakes the receive thread (end of stream) and a send blocked on a full
    // socket; the descriptor itself stays open until stop().
    if (m_socket != SocketApi::InvalidSocket)
        SocketApi::shutdown(m_socket, SocketApi::ShutdownBoth);
}

QByteArray ClientSocket::getAuthResponse() const
{
    std::lock_guard<std::mutex> guard(m_authMutex);
    return m_expectedResponse;
}

ClientSocket::HandshakeState ClientSocket::checkAuthAnswer(const char *response16)
{
    std::lock_guard<std::mutex> guard(m_authMutex);
    m_handshakeState = Handshake::matches(m_expectedResponse, response16) ? HandshakeState::Passed
                                                                          : HandshakeState::Failed;
    return m_handshakeState;
}

ClientSocket::HandshakeState ClientSocket::handshakeState() const
{
    std::lock_guard<std::mutex> guard(m_authMutex);
    return m_handshakeState;
}

quint64 ClientSocket::getClientId() const
{
    return m_clientId;
}

quint64 ClientSocket::pendingSendBytes() const
{
    quint64 queued = 0;
    {
        RecursiveMutexLocker locker(m_sendLock);
        if (locker.isLocked())
            queued = m_sendBuffer->unreadCount();
    }
    return queued + m_outgoingLeft.load();
}

bool ClientSocket::isEnding() const
{
    return m_ending.load() || m_stopping.load();
}

void ClientSocket::stop()
{
    std::lock_guard<std::mutex> stopGuard(m_stopMutex);
    if (m_stopped)
        return;
    m_stopped = true;
    m_stopping = true;
    endConnection();
    // The client thread first: it may still be starting the other two.
    m_clientThread.join();
    m_receiveThread.requestStop();
    m_sendThread.requestStop();
    m_receiveThread.join();
    m_sendThread.join();
    RecursiveMutexLocker locker(m_sendLock);
    if (m_socket != SocketApi::InvalidSocket) {
        SocketApi::closeSocket(m_socket);
        m_socket = SocketApi::InvalidSocket;
    }
}
