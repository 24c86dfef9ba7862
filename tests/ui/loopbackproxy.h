#ifndef TESTS_UI_LOOPBACKPROXY_H
#define TESTS_UI_LOOPBACKPROXY_H

// A TCP relay on loopback, on a thread of its own: connections made to its
// port are carried to the target port. Closing its port refuses new
// connections while those already carried keep working, as a database server
// that stopped accepting would. Its own thread keeps relaying while the test
// thread is blocked in a database call.

#include <QObject>
#include <QThread>

class LoopbackProxyWorker;

class LoopbackProxy
{
public:
    LoopbackProxy();
    ~LoopbackProxy();

    LoopbackProxy(const LoopbackProxy &) = delete;
    LoopbackProxy &operator=(const LoopbackProxy &) = delete;

    // Listens on a free loopback port, relaying to `targetPort`; false when
    // it cannot listen.
    bool start(quint16 targetPort);
    quint16 port() const { return m_port; }
    // Refuses new connections from now on; carried ones go on.
    void closePort();

private:
    QThread m_thread;
    LoopbackProxyWorker *m_worker = nullptr;
    quint16 m_port = 0;
};

#endif // TESTS_UI_LOOPBACKPROXY_H
