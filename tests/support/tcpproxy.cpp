#include "tests/support/tcpproxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int connectTo(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// Moves what `from` has to `to`; false when either side is done.
bool forward(int from, int to)
{
    char buffer[16384];
    const ssize_t n = ::recv(from, buffer, sizeof buffer, 0);
    if (n <= 0)
        return false;
    for (ssize_t sent = 0; sent < n;) {
        const ssize_t m = ::send(to, buffer + sent, size_t(n - sent), MSG_NOSIGNAL);
        if (m <= 0)
            return false;
        sent += m;
    }
    return true;
}

} // namespace

TcpProxy::TcpProxy() = default;

TcpProxy::~TcpProxy()
{
    if (m_thread.joinable()) {
        const char stop = 1;
        if (::write(m_stopPipe[1], &stop, 1) != 1) {
            // The thread still ends at its next poll, which times out.
        }
        m_thread.join();
    }
    for (std::size_t i = m_pairs.size(); i > 0; --i)
        closePair(i - 1);
    for (const int fd : {m_listener, m_stopPipe[0], m_stopPipe[1]}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool TcpProxy::start(quint16 upstreamPort)
{
    m_upstream = upstreamPort;
    if (::pipe(m_stopPipe) != 0)
        return false;
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listener, 128) != 0
        || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return false;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this]() { run(); });
    return true;
}

void TcpProxy::closePair(std::size_t index)
{
    ::close(m_pairs[index].client);
    ::close(m_pairs[index].server);
    m_pairs.erase(m_pairs.begin() + long(index));
}

void TcpProxy::run()
{
    for (;;) {
        // Frozen: only the stop pipe is watched, every byte stays where it
        // is and new connections wait in the listen queue.
        const bool frozen = m_frozen;
        std::vector<pollfd> fds;
        fds.push_back({m_stopPipe[0], POLLIN, 0});
        if (!frozen) {
            fds.push_back({m_listener, POLLIN, 0});
            for (const Pair &pair : m_pairs) {
                fds.push_back({pair.client, POLLIN, 0});
                fds.push_back({pair.server, POLLIN, 0});
            }
        }
        if (::poll(fds.data(), nfds_t(fds.size()), 100) < 0)
            continue;
        if (fds[0].revents != 0)
            return;
        if (frozen || m_frozen)
            continue;
        if (fds[1].revents & POLLIN) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            const int server = client >= 0 ? connectTo(m_upstream) : -1;
            if (server >= 0)
                m_pairs.push_back({client, server});
            else if (client >= 0)
                ::close(client);
        }
        // Backwards, so a pair closed does not move the ones still to see.
        for (std::size_t i = m_pairs.size(); i > 0; --i) {
            const std::size_t at = 2 + 2 * (i - 1);
            if (at + 1 >= fds.size())
                continue;
            const bool fromClient = fds[at].revents != 0;
            const bool fromServer = fds[at + 1].revents != 0;
            const Pair pair = m_pairs[i - 1];
            if ((fromClient && !forward(pair.client, pair.server))
                || (fromServer && !forward(pair.server, pair.client)))
                closePair(i - 1);
        }
    }
}
