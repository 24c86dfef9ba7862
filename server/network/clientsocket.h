#ifndef SERVER_NETWORK_CLIENTSOCKET_H
#define SERVER_NETWORK_CLIENTSOCKET_H

#include "platform/recursivemutex.h"
#include "platform/socketapi.h"
#include "platform/thread.h"
#include "server/protocol/aescipher.h"
#include "server/protocol/framecodec.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

class BaseMessage;
class ByteBuffer;
class ClientSocketOwner;

// One accepted terminal connection: its socket, the client thread that runs
// the handshake and starts the other two, the receive thread that cuts frames
// into queued handlers, the send thread that drains the send buffer, and the
// connection's cipher.
//
// No lock is held across a socket call: the send thread takes the pending
// bytes out under the send lock and sends them after releasing it, so a
// terminal that stops reading blocks only its own send thread. Its pending
// bytes are capped; a connection over the cap is treated as a failed send.
//
// A failed send, a receive that reports the end of the stream or an error,
// the send cap reached, or more handlers queued than the controller takes
// from one connection all end the connection: the socket is shut down, the
// receive thread stops and asks the controller to remove the connection.
class ClientSocket
{
public:
    static const int RECEIVE_SIZE = 32768;
    // Far above what a terminal that reads needs: the video distribution
    // paces itself at 2.5 MB a second per terminal.
    static const quint64 MAX_PENDING_SEND_BYTES = 8 * 1024 * 1024;
    // A terminal that takes no byte at all for this long has stopped
    // reading: its connection ends, so that nobody waits on it for ever.
    static const int SEND_STALL_TIMEOUT_MS = 30000;

    // Where the handshake stands: no answer checked yet, the last answer
    // matched, or it did not (the connection is then removed).
    enum class HandshakeState { Awaiting, Passed, Failed };

    // The owner receives the handlers and must outlive the connection.
    // `peerAddress` is the terminal's numeric address, as it is named to
    // the operator and in the log ("" when unknown).
    explicit ClientSocket(ClientSocketOwner *owner, const QString &peerAddress = QString());
    // stop(); must not run on one of the connection's own threads.
    ~ClientSocket();

    ClientSocket(const ClientSocket &) = delete;
    ClientSocket &operator=(const ClientSocket &) = delete;

    // Takes over the socket (closed by stop() whatever the result) and
    // starts the client thread; false after "Can not create client thread".
    bool createClientThread(quint64 clientId, SocketApi::Handle socket);

    // Frames the message (encrypted for types of 100 and more) and appends
    // it to the send buffer; never waits for the socket. The frame length,
    // or -1 when the message cannot be framed, the send lock fails, the
    // connection is ending, or the frame would take the bytes waiting in
    // the send buffer over the cap (which ends the connection). The cap
    // leaves out what the send thread has taken out, so a bulk sender that
    // paces itself on pendingSendBytes() never reaches it and replies still
    // fit behind its frames.
    int send(const BaseMessage *message);

    // A copy of the expected handshake answer; empty until the client thread
    // has computed it.
    QByteArray getAuthResponse() const;
    // Checks the terminal's 16 answer bytes against the expected answer and
    // keeps the verdict: Failed also when no answer is expected yet.
    HandshakeState checkAuthAnswer(const char *response16);
    HandshakeState handshakeState() const;
    quint64 getClientId() const;
    QString peerAddress() const { return m_peerAddress; }

    // Bytes framed by send() and not yet handed to the socket (those the
    // send thread has taken out included). Senders of bulk data wait while
    // this plus their next frame would pass MAX_PENDING_SEND_BYTES.
    quint64 pendingSendBytes() const;
    // The connection is ending or stopped: nothing sent to it will go out.
    bool isEnding() const;

    // Ends and joins the three threads and closes the socket; queues no
    // removal. Safe to call more than once.
    void stop();

private:
    void clientLoop();
    void receiveLoop();
    void sendLoop();
    void sendChallenge();
    // False when the controller refused a handler: the connection has more
    // queued than it may, and nothing more it sends is read.
    bool parseMessages(std::string &accumulated);
    // Shuts the socket down, which makes the receive thread notice the end.
    void endConnection();

    ClientSocketOwner *m_owner;
    const QString m_peerAddress;
    std::atomic<quint64> m_clientId{0};
    SocketApi::Handle m_socket = SocketApi::InvalidSocket;
    Thread m_receiveThread;
    // Frames waiting; m_outgoing is what the send thread has taken out and
    // is sending (touched by the send thread only).
    std::unique_ptr<ByteBuffer> m_sendBuffer;
    std::unique_ptr<ByteBuffer> m_outgoing;
    // What is left of m_outgoing, for pendingSendBytes().
    std::atomic<quint64> m_outgoingLeft{0};
    // Guards m_sendBuffer, the writes of m_ending and the socket handle's
    // closing.
    mutable RecursiveMutex m_sendLock;
    Thread m_sendThread;
    Thread m_clientThread;
    mutable std::mutex m_authMutex;
    QByteArray m_expectedResponse;
    HandshakeState m_handshakeState = HandshakeState::Awaiting;
    AesCipher m_cipher;
    FrameCodec m_codec;
    std::atomic_bool m_ending{false};
    std::atomic_bool m_stopping{false};
    std::mutex m_stopMutex;
    bool m_stopped = false;
};

#endif // SERVER_NETWORK_CLIENTSOCKET_H
