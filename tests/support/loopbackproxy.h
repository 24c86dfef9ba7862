#ifndef TESTS_SUPPORT_LOOPBACKPROXY_H
#define TESTS_SUPPORT_LOOPBACKPROXY_H

// A TCP relay on loopback, on a thread of its own: connections made to its
// port are carried to the target port. Closing its port refuses new
// connections while those already carried keep working, as a database server
// that stopped accepting would. Frozen, it stops relaying and accepting
// without closing anything, as a cut cable does (the peers wait for bytes
// that never come); thawed, it relays again. Its own thread keeps relaying
// while the test thread is blocked in a database call.

#include "platform/thread.h"

#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <mutex>

class LoopbackProxy
{
public:
    LoopbackProxy() = default;
    ~LoopbackProxy();

    LoopbackProxy(const LoopbackProxy &) = delete;
    LoopbackProxy &operator=(const LoopbackProxy &) = delete;

    // Listens on a free loopback port, relaying to `targetPort`; false when
    // it cannot listen.
    bool start(quint16 targetPort);
    quint16 port() const { return m_port; }
    // Refuses new connections from the return on; carried ones go on.
    void closePort();
    void freeze() { m_frozen = true; }
    void thaw() { m_frozen = false; }

private:
    void run();

    Thread m_thread;
    // Owned by the relay thread once it runs.
    int m_listenFd = -1;
    quint16 m_targetPort = 0;
    quint16 m_port = 0;
    std::mutex m_mutex;
    std::condition_variable m_portChanged;
    bool m_closeAsked = false;
    bool m_portClosed = false;
    std::atomic<bool> m_frozen{false};
};

#endif // TESTS_SUPPORT_LOOPBACKPROXY_H
