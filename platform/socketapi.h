#ifndef PLATFORM_SOCKETAPI_H
#define PLATFORM_SOCKETAPI_H

// The socket calls the listener and the terminal connections make, with the
// meaning they have under Windows Sockets, on the Linux socket API. Results
// follow the Windows convention (0 or a count on success, SOCKET_ERROR or
// INVALID_SOCKET on failure, the cause in lastError()); error numbers are
// Linux errno values, so a busy port is 98 (EADDRINUSE).

#include <netdb.h>
#include <sys/socket.h>
#include <sys/types.h>

class SocketApi
{
public:
    using Handle = int;
    static constexpr Handle InvalidSocket = -1;
    static constexpr int SocketError = -1;
    // shutdown() directions, as SD_RECEIVE, SD_SEND, SD_BOTH.
    static constexpr int ShutdownReceive = SHUT_RD;
    static constexpr int ShutdownSend = SHUT_WR;
    static constexpr int ShutdownBoth = SHUT_RDWR;

    // Linux needs no library set-up: both succeed and return 0, so callers
    // keep the start-up and clean-up steps they have on Windows.
    static int startup();
    static int cleanup();

    // Returns 0 or an EAI_ code (negative on Linux). The service must be a
    // decimal port from 1 to 65535, without sign or blanks: anything else is
    // refused with EAI_SERVICE rather than resolved as a service name or
    // taken as port 0 (any free port).
    static int getAddrInfo(const char *node, const char *service, const addrinfo *hints,
                           addrinfo **result);
    static void freeAddrInfo(addrinfo *list);
    static bool isPortText(const char *text);

    static Handle socket(int family, int type, int protocol);
    // Sets SO_REUSEADDR first: the only sockets bound are listening ones, and
    // a restarted server must not wait for the old connections' TIME_WAIT.
    // An address that another socket listens on still fails with EADDRINUSE.
    static int bind(Handle socket, const sockaddr *address, socklen_t length);
    static int listen(Handle socket, int backlog);
    // Retried on EINTR. The new socket is not inherited by child processes.
    static Handle accept(Handle socket, sockaddr *address = nullptr,
                         socklen_t *length = nullptr);
    // Retried on EINTR; returns the byte count, 0 at the peer's end of
    // stream, or SocketError.
    static int recv(Handle socket, char *buffer, int length, int flags = 0);
    // Always adds MSG_NOSIGNAL: a peer that has gone makes the call fail
    // with EPIPE instead of ending the process with SIGPIPE.
    static int send(Handle socket, const char *buffer, int length, int flags = 0);
    // A send that can hand no byte at all to the peer for `ms` milliseconds
    // then fails (EAGAIN) instead of blocking for ever (SO_SNDTIMEO).
    static int setSendTimeout(Handle socket, int ms);
    // Wakes a thread blocked in accept() or recv() on the socket, which is
    // how a blocked thread is made to stop before it is joined.
    static int shutdown(Handle socket, int how);
    static int closeSocket(Handle socket);

    // The error number of this thread's last failed call (WSAGetLastError).
    static int lastError();
};

#endif // PLATFORM_SOCKETAPI_H
