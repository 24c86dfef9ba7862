#ifndef TESTS_SUPPORT_TCPPROXY_H
#define TESTS_SUPPORT_TCPPROXY_H

// A loopback TCP proxy between the program and its database server, so a
// suite can cut the program's network alone: frozen, it stops forwarding
// and accepting without closing anything, as a cut cable does (the peers
// wait for bytes that never come); thawed, it forwards again. Runs on a
// thread of its own, joined by the destructor.

#include <QtGlobal>

#include <atomic>
#include <thread>
#include <vector>

class TcpProxy
{
public:
    TcpProxy();
    ~TcpProxy();

    TcpProxy(const TcpProxy &) = delete;
    TcpProxy &operator=(const TcpProxy &) = delete;

    // Listens on a free loopback port and forwards to `upstreamPort`.
    bool start(quint16 upstreamPort);
    quint16 port() const { return m_port; }

    void freeze() { m_frozen = true; }
    void thaw() { m_frozen = false; }

private:
    struct Pair
    {
        int client;
        int server;
    };
    void run();
    void closePair(std::size_t index);

    int m_listener = -1;
    int m_stopPipe[2] = {-1, -1};
    quint16 m_port = 0;
    quint16 m_upstream = 0;
    std::atomic<bool> m_frozen{false};
    std::vector<Pair> m_pairs;
    std::thread m_thread;
};

#endif // TESTS_SUPPORT_TCPPROXY_H
