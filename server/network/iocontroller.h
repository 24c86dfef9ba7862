#ifndef SERVER_NETWORK_IOCONTROLLER_H
#define SERVER_NETWORK_IOCONTROLLER_H

#include "platform/recursivemutex.h"
#include "platform/socketapi.h"
#include "platform/thread.h"
#include "server/network/clientsocketowner.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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
// cycle, in arrival order across all terminals. The cycle is kept by
// deadline, from one handler's start to the next, so a handler's own time is
// not added to it; a late cycle is not made up by running two at once.
//
// One connection holds at most MAX_QUEUED_PER_CLIENT handlers (queued or
// running), so a peer that floods the port holds every other terminal back
// by that many cycles at most: its frame past the limit closes it, with one
// log line naming it. A closed or removed connection's queued handlers are
// dropped: an answer would go nowhere, and what its terminal told (a start,
// a result) was kept by the connection listener when it arrived. A
// terminal's removal once it has gone is no handler: it runs as soon as its
// handler running (if any) is done, without waiting
// for a cycle, so a burst of departures lets go of their database
// connections at once. A handler runs after the queue lock is released, so a
// handler that removes a connection never waits for that connection's
// receive thread while the thread waits to queue. Lock order: queue lock,
// registry lock, a connection's send lock; none is held across a socket call
// or a thread join.
//
// The terminal business logic hears of each connection accepted and removed
// through a ClientConnectionListener (a terminal gets its own database
// connection with its first message that needs one, and loses it when
// removed).
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

    static const int QUEUE_CYCLE_MS = 16;
    // A terminal sends one handshake answer, then requests that each wait
    // for their reply (admission, course list, review) and a start and a
    // result that need none: a handful at a time, also while the queue is
    // slow or a video transfer delays its replies (the video frames a peer
    // sends are never queued). Far above that, and small enough that a
    // flooding peer holds the others back 1.6 s at most.
    static const int MAX_QUEUED_PER_CLIENT = 100;

    // The queue owns the handler (and its message) from now on. Tells the
    // connection listener (onMessageArriving) on the caller's thread before
    // it queues it. False, with the handler destroyed, the listener not told
    // and a warning naming the client, when its client already has
    // MAX_QUEUED_PER_CLIENT handlers queued or running.
    bool enqueueHandler(BaseHandler *handler) override;
    // Queued by a connection's receive thread when its terminal has gone (or
    // went past its limit): drops its queued handlers, and once the one
    // running (if any) is done, removes it.
    void enqueueClientGone(quint64 clientId) override;

    // Tests of the pace: called on the queue thread with the steady-clock
    // time (SteadyClock::nowNs) each handler starts at, just before it runs.
    // Set before any handler is queued.
    void setHandlerStartObserverForTesting(std::function<void(std::int64_t startNs)> observer);

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
    // Stops the connection (closing its socket), drops its queued handlers,
    // removes it from the registry and destroys it,
    // then tells the connection listener. Nothing for an id not registered.
    // Not from a connection's own threads.
    void removeClient(quint64 clientId);

private:

    void listenLoop();
    bool openListenSocket();
    void acceptLoop();
    void acceptClient(SocketApi::Handle socket, const QString &peerAddress);
    void processHandlerQueue();
    // Under the queue lock: the next removal that may run now, or the next
    // handler once its cycle has come. False when neither.
    bool takeGone(quint64 *clientId);
    std::unique_ptr<BaseHandler> takeHandler();
    // Counts the terminal's handler as run; releases a removal waiting for
    // its last one.
    void handlerDone(quint64 clientId);
    // Under the queue lock: takes the client's queued handlers out of the
    // queue and its count, so that the caller destroys them after releasing
    // the lock.
    void takeQueued(quint64 clientId, std::vector<std::unique_ptr<BaseHandler>> *dropped);
    // Waits until the deadline (no deadline: -1) or until something is
    // queued or a stop is asked for.
    void waitForWork(std::int64_t deadlineNs);
    void wakeQueue();
    void stopQueue();
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
    std::deque<std::unique_ptr<BaseHandler>> m_handlerQueue;
    // Handlers queued or running, by terminal; a gone terminal's removal
    // waits in m_goneWaiting while it has any, then in m_goneReady.
    std::unordered_map<quint64, int> m_handlersOf;
    std::unordered_set<quint64> m_goneWaiting;
    std::deque<quint64> m_goneReady;
    std::function<void(std::int64_t)> m_startObserver;
    // Wakes the queue thread from its wait for the next cycle.
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
    bool m_wakePending = false;
    bool m_queueStopping = false;
    Thread m_queueThread;
};

#endif // SERVER_NETWORK_IOCONTROLLER_H
