#include "server/network/iocontroller.h"

#include "platform/recursivemutexlocker.h"
#include "platform/steadyclock.h"
#include "server/network/clientconnectionlistener.h"
#include "server/network/clientsocket.h"
#include "server/protocol/basehandler.h"
#include "server/protocol/basemessage.h"
#include "server/protocol/consoleoutput.h"

#include <QDebug>

#include <chrono>
#include <string>

#include <netdb.h>
#include <netinet/in.h>

namespace {
const int ACCEPT_PAUSE_MS = 10;
const int ACCEPT_RETRY_MS = 100;
const std::int64_t NS_PER_MS = 1000000;

std::mutex &instanceMutex()
{
    static std::mutex mutex;
    return mutex;
}
IOController *s_instance = nullptr;
bool s_instanceGone = false;

// "<step> failed with error: <code>. Try again now..." after a first failure,
// "... Stop now" after the second.
// The peer's numeric host ("192.168.1.23", "::1"), "" when it cannot be
// told.
QString numericHost(const sockaddr_storage &address, socklen_t length)
{
    char host[NI_MAXHOST];
    if (length == 0
        || ::getnameinfo(reinterpret_cast<const sockaddr *>(&address), length, host, sizeof host,
                         nullptr, 0, NI_NUMERICHOST) != 0)
        return QString();
    return QString::fromLatin1(host);
}

void reportStepFailure(const char *step, int code, bool last)
{
    ConsoleOutput::writeLine(std::string(step) + " failed with error: " + std::to_string(code)
                             + (last ? ". Stop now" : ". Try again now..."));
}
} // namespace

IOController *IOController::getInstance()
{
    std::lock_guard<std::mutex> guard(instanceMutex());
    if (s_instance == nullptr && !s_instanceGone)
        s_instance = new IOController;
    return s_instance;
}

void IOController::destroyInstance()
{
    IOController *instance = nullptr;
    {
        std::lock_guard<std::mutex> guard(instanceMutex());
        if (s_instanceGone)
            return;
        s_instanceGone = true;
        instance = s_instance;
    }
    // Not under the mutex: a handler finishing on the queue thread may ask
    // for the instance while the destructor waits for it.
    delete instance;
    std::lock_guard<std::mutex> guard(instanceMutex());
    s_instance = nullptr;
}

IOController::IOController()
{
    if (!m_queueLock.isValid())
        qDebug() << "IOController::IOController: Can not initialize queue mutex";
    if (!m_queueThread.start([this] { processHandlerQueue(); }))
        ConsoleOutput::writeLine("Can not create handler queue thread");
}

IOController::~IOController()
{
    {
        std::lock_guard<std::mutex> guard(m_listenSocketMutex);
        m_listenThread.requestStop();
        if (m_listenSocket != SocketApi::InvalidSocket)
            SocketApi::shutdown(m_listenSocket, SocketApi::ShutdownBoth);
    }
    m_listenThread.join();
    {
        std::lock_guard<std::mutex> guard(m_listenSocketMutex);
        if (m_listenSocket != SocketApi::InvalidSocket) {
            SocketApi::closeSocket(m_listenSocket);
            m_listenSocket = SocketApi::InvalidSocket;
        }
    }

    stopQueue();
    m_queueThread.join();

    ClientMap clients;
    {
        RecursiveMutexLocker locker(m_registryLock);
        clients.swap(m_clients);
    }
    // Stopped even when someone still holds a copy of the registry: no
    // connection thread may reach this object once it is gone.
    for (auto &client : clients)
        client.second->stop();
    clients.clear();

    {
        RecursiveMutexLocker locker(m_queueLock);
        m_handlerQueue.clear();
        m_handlersOf.clear();
        m_goneWaiting.clear();
        m_goneReady.clear();
    }
    SocketApi::cleanup();
}

void IOController::setClientConnectionListener(ClientConnectionListener *listener)
{
    m_connectionListener = listener;
}

bool IOController::createListenThread(const QString &port)
{
    if (m_listenThread.isStarted())
        return false;
    m_port = port;
    if (!m_listenThread.start([this] { listenLoop(); })) {
        ConsoleOutput::writeLine("Can not create listen thread");
        setResult(STATUS_NO_THREAD, 0);
        return false;
    }
    return true;
}

int IOController::getStatus() const
{
    return m_status;
}

int IOController::getErrorCode() const
{
    return m_error;
}

void IOController::setResult(int status, int error)
{
    // The error first: whoever sees the status leave -1 reads its error.
    m_error = error;
    m_status = status;
}

void IOController::listenLoop()
{
    if (openListenSocket())
        acceptLoop();
}

bool IOController::openListenSocket()
{
    int code = 0;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        code = SocketApi::startup();
        if (code == 0)
            break;
        reportStepFailure("WSAStartup", code, attempt == 2);
    }
    if (code != 0) {
        setResult(STATUS_STARTUP_FAILED, code);
        return false;
    }

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_PASSIVE;
    const QByteArray port = m_port.toUtf8();
    addrinfo *addresses = nullptr;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        code = SocketApi::getAddrInfo(nullptr, port.constData(), &hints, &addresses);
        if (code == 0)
            break;
        reportStepFailure("getaddrinfo", code, attempt == 2);
    }
    if (code != 0) {
        setResult(STATUS_ADDRESS_FAILED, code);
        return false;
    }

    SocketApi::Handle socket = SocketApi::InvalidSocket;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        socket = SocketApi::socket(addresses->ai_family, addresses->ai_socktype,
                                   addresses->ai_protocol);
        if (socket != SocketApi::InvalidSocket)
            break;
        code = SocketApi::lastError();
        reportStepFailure("Create socket", code, attempt == 2);
    }
    if (socket == SocketApi::InvalidSocket) {
        SocketApi::freeAddrInfo(addresses);
        setResult(STATUS_SOCKET_FAILED, code);
        return false;
    }

    bool bound = false;
    for (int attempt = 1; attempt <= 2 && !bound; ++attempt) {
        bound = SocketApi::bind(socket, addresses->ai_addr, addresses->ai_addrlen) == 0;
        if (!bound) {
            code = SocketApi::lastError();
            reportStepFailure("bind", code, attempt == 2);
        }
    }
    SocketApi::freeAddrInfo(addresses);
    if (!bound) {
        SocketApi::closeSocket(socket);
        setResult(STATUS_BIND_FAILED, code);
        return false;
    }

    bool listening = false;
    for (int attempt = 1; attempt <= 2 && !listening; ++attempt) {
        listening = SocketApi::listen(socket, SOMAXCONN) == 0;
        if (!listening) {
            code = SocketApi::lastError();
            reportStepFailure("listen", code, attempt == 2);
        }
    }
    if (!listening) {
        SocketApi::closeSocket(socket);
        setResult(STATUS_LISTEN_FAILED, code);
        return false;
    }

    {
        std::lock_guard<std::mutex> guard(m_listenSocketMutex);
        if (m_listenThread.stopRequested()) {
            SocketApi::closeSocket(socket);
            return false;
        }
        m_listenSocket = socket;
    }
    setResult(STATUS_LISTENING, 0);
    return true;
}

void IOController::acceptLoop()
{
    // Only this thread and the destructor (after joining it) touch the
    // handle once it is published.
    const SocketApi::Handle listenSocket = m_listenSocket;
    while (!m_listenThread.stopRequested()) {
        sockaddr_storage peer = {};
        socklen_t peerLength = sizeof peer;
        const SocketApi::Handle socket =
            SocketApi::accept(listenSocket, reinterpret_cast<sockaddr *>(&peer), &peerLength);
        if (m_listenThread.stopRequested()) {
            if (socket != SocketApi::InvalidSocket)
                SocketApi::closeSocket(socket);
            return;
        }
        if (socket == SocketApi::InvalidSocket) {
            ConsoleOutput::writeLine("accept failed with error: "
                                     + std::to_string(SocketApi::lastError()));
            // A failure that persists (no descriptors left) must not spin.
            m_listenThread.waitForStop(ACCEPT_RETRY_MS);
            continue;
        }
        acceptClient(socket, numericHost(peer, peerLength));
        m_listenThread.waitForStop(ACCEPT_PAUSE_MS);
    }
}

void IOController::acceptClient(SocketApi::Handle socket, const QString &peerAddress)
{
    const quint64 clientId = m_nextClientId++;
    auto client = std::make_shared<ClientSocket>(this, peerAddress);
    {
        RecursiveMutexLocker locker(m_registryLock);
        if (!locker.isLocked()) {
            SocketApi::closeSocket(socket);
            return;
        }
        m_clients[clientId] = client;
    }
    // Registered, and its own resources ready, before anything it sends can
    // be read: its first message finds both.
    if (ClientConnectionListener *listener = m_connectionListener)
        listener->onClientAccepted(clientId);
    if (!client->createClientThread(clientId, socket)) {
        // Without its threads it would never be read, nor noticed gone.
        removeClient(clientId);
    }
}

void IOController::setHandlerStartObserverForTesting(std::function<void(std::int64_t)> observer)
{
    m_startObserver = std::move(observer);
}

bool IOController::enqueueHandler(BaseHandler *handler)
{
    if (handler == nullptr)
        return true;
    std::unique_ptr<BaseHandler> owned(handler);
    // The handler keeps the id in 32 bits; ids stay far below 2^31.
    const quint64 clientId = quint32(handler->getClientId());
    bool withinShare = false;
    {
        // Its place is counted first, so that a connection past its share
        // has nothing of its flood kept by the listener either.
        RecursiveMutexLocker locker(m_queueLock);
        if (!locker.isLocked())
            return true;
        int &count = m_handlersOf[clientId];
        if (count < MAX_QUEUED_PER_CLIENT) {
            ++count;
            withinShare = true;
        }
    }
    if (!withinShare) {
        // Its connection stops reading at once: one line per connection.
        qWarning().nospace() << "IOController: client " << clientId << " has "
                             << MAX_QUEUED_PER_CLIENT
                             << " handlers queued and sent another: connection closed";
        return false;
    }
    // Outside the queue lock: the listener keeps what the message carries
    // and may wait for the database. Only this connection's receive thread
    // queues its handlers, and its removal waits for that thread, so the
    // place counted stays its own meanwhile.
    if (ClientConnectionListener *listener = m_connectionListener) {
        if (const BaseMessage *message = handler->getMessage())
            listener->onMessageArriving(clientId, *message);
    }
    {
        RecursiveMutexLocker locker(m_queueLock);
        if (!locker.isLocked())
            return true;
        m_handlerQueue.push_back(std::move(owned));
    }
    wakeQueue();
    return true;
}

void IOController::enqueueClientGone(quint64 clientId)
{
    std::vector<std::unique_ptr<BaseHandler>> dropped;
    {
        RecursiveMutexLocker locker(m_queueLock);
        if (!locker.isLocked())
            return;
        takeQueued(clientId, &dropped);
        if (m_handlersOf.count(clientId) > 0)
            m_goneWaiting.insert(clientId);
        else
            m_goneReady.push_back(clientId);
    }
    dropped.clear();
    wakeQueue();
}

void IOController::takeQueued(quint64 clientId,
                                 std::vector<std::unique_ptr<BaseHandler>> *dropped)
{
    const auto count = m_handlersOf.find(clientId);
    if (count == m_handlersOf.end())
        return;
    std::deque<std::unique_ptr<BaseHandler>> kept;
    for (std::unique_ptr<BaseHandler> &handler : m_handlerQueue) {
        if (quint32(handler->getClientId()) == clientId)
            dropped->push_back(std::move(handler));
        else
            kept.push_back(std::move(handler));
    }
    m_handlerQueue.swap(kept);
    // The one running, if any, is still counted: it releases the removal.
    count->second -= int(dropped->size());
    if (count->second > 0)
        return;
    m_handlersOf.erase(count);
    if (m_goneWaiting.erase(clientId) > 0)
        m_goneReady.push_back(clientId);
}

void IOController::wakeQueue()
{
    {
        std::lock_guard<std::mutex> guard(m_wakeMutex);
        m_wakePending = true;
    }
    m_wake.notify_one();
}

void IOController::stopQueue()
{
    m_queueThread.requestStop();
    {
        std::lock_guard<std::mutex> guard(m_wakeMutex);
        m_queueStopping = true;
    }
    m_wake.notify_one();
}

void IOController::waitForWork(std::int64_t deadlineNs)
{
    std::unique_lock<std::mutex> lock(m_wakeMutex);
    const auto woken = [this] { return m_wakePending || m_queueStopping; };
    if (deadlineNs < 0) {
        m_wake.wait(lock, woken);
    } else {
        // SteadyClock counts std::chrono::steady_clock's nanoseconds.
        const std::chrono::steady_clock::time_point deadline{std::chrono::nanoseconds(deadlineNs)};
        m_wake.wait_until(lock, deadline, woken);
    }
    m_wakePending = false;
}

bool IOController::takeGone(quint64 *clientId)
{
    RecursiveMutexLocker locker(m_queueLock);
    if (!locker.isLocked() || m_goneReady.empty())
        return false;
    *clientId = m_goneReady.front();
    m_goneReady.pop_front();
    return true;
}

std::unique_ptr<BaseHandler> IOController::takeHandler()
{
    RecursiveMutexLocker locker(m_queueLock);
    if (!locker.isLocked() || m_handlerQueue.empty())
        return nullptr;
    std::unique_ptr<BaseHandler> handler = std::move(m_handlerQueue.front());
    m_handlerQueue.pop_front();
    return handler;
}

void IOController::processHandlerQueue()
{
    // The earliest start of the next handler: a cycle after the last one
    // started, whatever that handler's own time.
    std::int64_t nextStartNs = 0;
    while (!m_queueThread.stopRequested()) {
        // Removals first, outside the lock: removing joins the connection's
        // threads, and its receive thread may be queueing meanwhile.
        quint64 goneId = 0;
        if (takeGone(&goneId)) {
            removeClient(goneId);
            continue;
        }
        const std::int64_t nowNs = SteadyClock::nowNs();
        if (nowNs < nextStartNs) {
            waitForWork(nextStartNs);
            continue;
        }
        std::unique_ptr<BaseHandler> handler = takeHandler();
        if (!handler) {
            waitForWork(-1);
            continue;
        }
        nextStartNs = nowNs + QUEUE_CYCLE_MS * NS_PER_MS;
        if (m_startObserver)
            m_startObserver(nowNs);
        const quint64 clientId = quint32(handler->getClientId());
        handler->handle(clientId, handler->getMessage());
        handler.reset();
        handlerDone(clientId);
    }
}

void IOController::handlerDone(quint64 clientId)
{
    RecursiveMutexLocker locker(m_queueLock);
    if (!locker.isLocked())
        return;
    const auto found = m_handlersOf.find(clientId);
    if (found == m_handlersOf.end() || --found->second > 0)
        return;
    m_handlersOf.erase(found);
    // Its last handler has run: a removal waiting for it may go now.
    if (m_goneWaiting.erase(clientId) > 0)
        m_goneReady.push_back(clientId);
}

bool IOController::sendToClient(quint64 clientId, const BaseMessage *message)
{
    std::shared_ptr<ClientSocket> client;
    {
        RecursiveMutexLocker locker(m_registryLock);
        if (!locker.isLocked())
            return false;
        const auto found = m_clients.find(clientId);
        if (found == m_clients.end())
            return false;
        client = found->second;
    }
    return client->send(message) >= 0;
}

std::shared_ptr<ClientSocket> IOController::findClient(quint64 clientId) const
{
    RecursiveMutexLocker locker(m_registryLock);
    if (!locker.isLocked())
        return nullptr;
    const auto found = m_clients.find(clientId);
    return found == m_clients.end() ? nullptr : found->second;
}

IOController::ClientMap IOController::getClients() const
{
    RecursiveMutexLocker locker(m_registryLock);
    if (!locker.isLocked())
        return {};
    return m_clients;
}

void IOController::removeClient(quint64 clientId)
{
    std::shared_ptr<ClientSocket> client;
    {
        RecursiveMutexLocker locker(m_registryLock);
        if (!locker.isLocked())
            return;
        const auto found = m_clients.find(clientId);
        if (found == m_clients.end())
            return;
        client = found->second;
    }
    // Joined without any lock held: its receive thread may be queueing.
    // Still registered meanwhile, but ending: nothing sent to it goes out.
    client->stop();
    {
        // Destroyed after the lock is released.
        std::vector<std::unique_ptr<BaseHandler>> dropped;
        RecursiveMutexLocker locker(m_queueLock);
        if (locker.isLocked())
            takeQueued(clientId, &dropped);
    }
    {
        RecursiveMutexLocker locker(m_registryLock);
        if (!locker.isLocked())
            return;
        const auto found = m_clients.find(clientId);
        // Another caller removed it while it stopped: that one tells.
        if (found == m_clients.end() || found->second != client)
            return;
        m_clients.erase(found);
    }
    client.reset();
    // Right after it leaves the registry, so that whoever sees it gone finds
    // its resources gone as soon after as can be.
    if (ClientConnectionListener *listener = m_connectionListener)
        listener->onClientRemoved(clientId);
}
