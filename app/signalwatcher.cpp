#include "app/signalwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int s_pair[2] = {-1, -1};
void (*s_onSignal)() = nullptr;

extern "C" void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    if (s_onSignal)
        s_onSignal();
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    ssize_t written = ::write(s_pair[0], &byte, 1);
    (void)written;
    errno = savedErrno;
}

} // namespace

SignalWatcher::SignalWatcher(void (*onSignal)(), QObject *parent) : QObject(parent)
{
    if (s_pair[0] >= 0)
        return;
    s_onSignal = onSignal;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_pair) != 0) {
        s_pair[0] = s_pair[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(s_pair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::onSignalReceived);

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

SignalWatcher::~SignalWatcher()
{
    if (!m_notifier)
        return;
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    s_onSignal = nullptr;
    delete m_notifier;
    ::close(s_pair[0]);
    ::close(s_pair[1]);
    s_pair[0] = s_pair[1] = -1;
}

bool SignalWatcher::isValid() const
{
    return m_notifier != nullptr;
}

void SignalWatcher::onSignalReceived()
{
    unsigned char byte = 0;
    if (::read(s_pair[1], &byte, 1) == 1)
        emit notifyTerminationRequested(byte);
}
