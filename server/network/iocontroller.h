#ifndef SERVER_NETWORK_IOCONTROLLER_H
#define SERVER_NETWORK_IOCONTROLLER_H

#include "platform/recursivemutex.h"
#include "platform/socketapi.h"
#include "platform/thread.h"
#include "server/network/clientsocketowner.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>

class BaseHandler;
class BaseMessage;
class ClientConnectionListener;
class ClientSocket;

// The exam server's network front: the listener on the configured TCP port,
// the registry of connected terminals by client id (counted from 0, never
// reused), the queue of handlers the connections' frame readers produce, and
// sending to a terminal by id.
//
// Every handler runs on the one handler-queue thread: at most one per 16 ms
// cycle, in arrival order across all terminals. A handler runs after the
// queue lock is released, so a handler that removes a connection never
// waits for that connection's receive thread while the thread waits to
// queue. Lock order: queue lock, registry lock, a connection's send lock;
// none is held across a socket call or a thread join.
//
// The terminal business logic hears of each connection accepted and removed
// through a ClientConnectionListener (each terminal gets its own database
// connection when accepted and loses it when removed).
class IOController final : public ClientSocketOwner
{
public:
    using ClientMap = std::unordered_map<quint64, std::shared_ptr<ClientSocket>>;

    // Listener status: -1 not yet, 0 listening, 1 to 5 the step that failed
    // twice (start-up, address, socket, bind, listen), 6 no listener thread.
    static const int STATUS_NOT_STARTED = -1;
    static const int STATUS_LISTENING = 0;
    static const int STATUS_STARTUP_FAILED = 1;
    static const int STATUS_ADDRESS_FAILED = 2;
    static const int STATUS_SOCKET_FAILED = 3;
    static const int STATUS_BIND_FAILED = 4;
    static const int STATUS_LISTEN_FAILED = 5;
    static const int STATUS_NO_THREAD = 6;

    // The process's controller, created on first use even when two threads
    // ask at once; null once destroyInstance() has run.
    static IOController *getInstance();
    // Destroys the process's controller (the main window's destructor). It
    // stays reachable through getInstance() while its destructor runs, so a
    // handler that finishes meanwhile still finds it.
    static void destroyInstance();

    // Starts the handler-queue thread. Public so that tests can run several
    // controllers in one process; the program uses getInstance().
    IOController();
    // Stops and joins every thread: the listener (woken by shutting its
    // socket down), the queue thread after its current handler, then every
    // connection. Handlers still queued are destroyed without running.
    ~IOController();

    IOController(const IOController &) = delete;
    IOController &operator=(const IOController &) = delete;

    // Not owned; set before createListenThread.
    void setClientConnectionListener(ClientConnectionListener *listener);

    // Stores the port text (decimal 1 to 65535, else the address step fails)
    // and starts the listener thread. False, with status 6, after "Can not
    // create listen thread"; false with nothing changed when a listener has
    // been started already.
    bool createListenThread(const QString &port);
    int getStatus() const;
    // The socket error of the step that failed (0 once listening).
    int getErrorCode() const;

    // The queue owns the handler (and its message) from now on.
    void enqueueHandler(BaseHandler *handler) override;
    // Queued by a connection's receive thread when its terminal has gone:
    // behind the handlers it queued before, removes the connection.
    void enqueueClientGone(quint64 clientId) override;

    // Frames the message into the connection's send buffer; never waits for
    // the socket. False for an id that is not registered or a message that
    // could not be queued. The caller keeps the message.
    bool sendToClient(quint64 clientId, const BaseMessage *message);
    // A copy of the registry: the connections in it stay valid as long as
    // the copy is held, even when removed meanwhile.
    ClientMap getClients() const;
    // The connection registered under the id, or null; it stays valid while
    // held, even when removed meanwhile.
    std::shared_ptr<ClientSocket> findClient(quint64 clientId) const;
    // Removes the connection and destroys it (closing its socket), then
    // tells the connection listener. Nothing for an id not registered. Not
    // from a connection's own threads.
    void removeClient(quint64 clientId);

private:
    struct QueueEntry
    {
        std::unique_ptr<BaseHandler> handler;
        quint64 goneClientId = 0;
    };

    void listenLoop();
    bool openListenSocket();
    void acceptLoop();
    void acceptClient(SocketApi::Handle socket);
    void processHandlerQueue();
    void runEntry(QueueEntry &entry);
    void enqueue(QueueEntry entry);
    void setResult(int status, int error);

    quint64 m_nextClientId = 0;
    mutable RecursiveMutex m_registryLock;
    // Published under m_listenSocketMutex once listening, so that the
    // destructor either sees it and shuts it down or the listener sees the
    // stop request before it blocks in accept.
    std::mutex m_listenSocketMutex;
    SocketApi::Handle m_listenSocket = SocketApi::InvalidSocket;
    Thread m_listenThread;
    ClientMap m_clients;
    QString m_port;
    std::atomic_int m_status{STATUS_NOT_STARTED};
    std::atomic_int m_error{0};
    std::atomic<ClientConnectionListener *> m_connectionListener{nullptr};
    RecursiveMutex m_queueLock;
    std::deque<QueueEntry> m_handlerQueue;
    Thread m_queueThread;
};

#endif // SERVER_NETWORK_IOCONTROLLER_H
