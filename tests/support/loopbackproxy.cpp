#include "tests/support/loopbackproxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

namespace {

sockaddr_in loopback(quint16 port)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool sendAll(int fd, const char *data, ssize_t length)
{
    while (length > 0) {
        const ssize_t sent = ::send(fd, data, size_t(length), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        length -= sent;
    }
    return true;
}

} // namespace

LoopbackProxy::~LoopbackProxy()
{
    m_thread.requestStop();
    m_thread.join();
    if (m_listenFd >= 0)
        ::close(m_listenFd);
}

bool LoopbackProxy::start(quint16 targetPort)
{
    m_targetPort = targetPort;
    m_listenFd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof(address);
    if (m_listenFd < 0 || ::bind(m_listenFd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0
        || ::listen(m_listenFd, 16) != 0
        || ::getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return false;
    m_port = ntohs(address.sin_port);
    return m_thread.start([this] { run(); });
}

void LoopbackProxy::closePort()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_closeAsked = true;
    m_portChanged.wait_for(lock, std::chrono::seconds(5), [this] { return m_portClosed; });
}

void LoopbackProxy::run()
{
    // (terminal side, database side)
    std::vector<std::pair<int, int>> pairs;
    char buffer[16384];
    while (!m_thread.stopRequested()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_closeAsked && !m_portClosed) {
                ::close(m_listenFd);
                m_listenFd = -1;
                m_portClosed = true;
                m_portChanged.notify_all();
            }
        }
        // Every byte stays where it is, new connections wait in the listen
        // queue.
        if (m_frozen) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        std::vector<pollfd> fds;
        if (m_listenFd >= 0)
            fds.push_back({m_listenFd, POLLIN, 0});
        for (const auto &pair : pairs) {
            fds.push_back({pair.first, POLLIN, 0});
            fds.push_back({pair.second, POLLIN, 0});
        }
        // Short, so that a stop or a closing of the port is seen soon.
        if (::poll(fds.data(), fds.size(), 20) <= 0)
            continue;

        size_t next = 0;
        std::vector<std::pair<int, int>> kept;
        if (m_listenFd >= 0) {
            if (fds[next].revents & POLLIN) {
                const int client = ::accept(m_listenFd, nullptr, nullptr);
                const int upstream = ::socket(AF_INET, SOCK_STREAM, 0);
                const sockaddr_in target = loopback(m_targetPort);
                if (client >= 0 && upstream >= 0
                    && ::connect(upstream, reinterpret_cast<const sockaddr *>(&target), sizeof(target)) == 0) {
                    kept.emplace_back(client, upstream);
                } else {
                    if (client >= 0)
                        ::close(client);
                    if (upstream >= 0)
                        ::close(upstream);
                }
            }
            ++next;
        }
        for (size_t i = 0; i < fds.size() - next; i += 2) {
            const std::pair<int, int> pair = pairs[i / 2];
            bool open = true;
            for (int side = 0; side < 2 && open; ++side) {
                if (!(fds[next + i + size_t(side)].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                const int from = side == 0 ? pair.first : pair.second;
                const int to = side == 0 ? pair.second : pair.first;
                const ssize_t received = ::recv(from, buffer, sizeof(buffer), 0);
                open = received > 0 && sendAll(to, buffer, received);
            }
            if (open) {
                kept.push_back(pair);
            } else {
                ::close(pair.first);
                ::close(pair.second);
            }
        }
        pairs.swap(kept);
    }
    for (const auto &pair : pairs) {
        ::close(pair.first);
        ::close(pair.second);
    }
}
