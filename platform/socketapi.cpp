#include "platform/socketapi.h"

#include <cerrno>
#include <cstring>

#include <sys/time.h>
#include <unistd.h>

int SocketApi::startup()
{
    return 0;
}

int SocketApi::cleanup()
{
    return 0;
}

bool SocketApi::isPortText(const char *text)
{
    if (text == nullptr || *text == '\0')
        return false;
    long value = 0;
    for (const char *p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
        if (value > 65535)
            return false;
    }
    return value >= 1;
}

int SocketApi::getAddrInfo(const char *node, const char *service, const addrinfo *hints,
                           addrinfo **result)
{
    if (result != nullptr)
        *result = nullptr;
    if (!isPortText(service))
        return EAI_SERVICE;
    addrinfo numericHints{};
    if (hints != nullptr)
        numericHints = *hints;
    numericHints.ai_flags |= AI_NUMERICSERV;
    return ::getaddrinfo(node, service, &numericHints, result);
}

void SocketApi::freeAddrInfo(addrinfo *list)
{
    if (list != nullptr)
        ::freeaddrinfo(list);
}

SocketApi::Handle SocketApi::socket(int family, int type, int protocol)
{
    return ::socket(family, type | SOCK_CLOEXEC, protocol);
}

int SocketApi::bind(Handle socket, const sockaddr *address, socklen_t length)
{
    const int on = 1;
    if (::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0)
        return SocketError;
    return ::bind(socket, address, length) == 0 ? 0 : SocketError;
}

int SocketApi::listen(Handle socket, int backlog)
{
    return ::listen(socket, backlog) == 0 ? 0 : SocketError;
}

SocketApi::Handle SocketApi::accept(Handle socket, sockaddr *address, socklen_t *length)
{
    for (;;) {
        const Handle accepted = ::accept4(socket, address, length, SOCK_CLOEXEC);
        if (accepted >= 0 || errno != EINTR)
            return accepted >= 0 ? accepted : InvalidSocket;
    }
}

int SocketApi::recv(Handle socket, char *buffer, int length, int flags)
{
    if (length < 0) {
        errno = EINVAL;
        return SocketError;
    }
    for (;;) {
        const ssize_t n = ::recv(socket, buffer, static_cast<size_t>(length), flags);
        if (n >= 0)
            return static_cast<int>(n);
        if (errno != EINTR)
            return SocketError;
    }
}

int SocketApi::send(Handle socket, const char *buffer, int length, int flags)
{
    if (length < 0) {
        errno = EINVAL;
        return SocketError;
    }
    for (;;) {
        const ssize_t n =
            ::send(socket, buffer, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
        if (n >= 0)
            return static_cast<int>(n);
        if (errno != EINTR)
            return SocketError;
    }
}

int SocketApi::setSendTimeout(Handle socket, int ms)
{
    timeval timeout{};
    timeout.tv_sec = ms / 1000;
    timeout.tv_usec = (ms % 1000) * 1000;
    return ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout) == 0 ? 0
                                                                                      : SocketError;
}

int SocketApi::shutdown(Handle socket, int how)
{
    return ::shutdown(socket, how) == 0 ? 0 : SocketError;
}

int SocketApi::closeSocket(Handle socket)
{
    // Not retried on EINTR: Linux releases the descriptor even then, and a
    // second close could hit a descriptor another thread has just opened.
    return ::close(socket) == 0 ? 0 : SocketError;
}

int SocketApi::lastError()
{
    return errno;
}
