#include "tests/support/serverprocess.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

ServerProcess::ServerProcess(const QString &logPath)
{
    // Forwarded: QProcess leaves the child's standard error alone, and
    // setupChildProcess() points it at the pipe.
    setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (::pipe2(m_pipe, O_CLOEXEC) != 0)
        return;
    const int reader = m_pipe[0];
    const QByteArray path = logPath.toLocal8Bit();
    m_copier = std::thread([reader, path]() {
        const int log = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        char buffer[8192];
        ssize_t n;
        while ((n = ::read(reader, buffer, sizeof buffer)) > 0) {
            if (log >= 0 && ::write(log, buffer, size_t(n)) != n)
                break;
        }
        if (log >= 0)
            ::close(log);
    });
}

ServerProcess::~ServerProcess()
{
    // The program's end first: the copier reads to the end of what it wrote.
    if (state() != QProcess::NotRunning) {
        kill();
        waitForFinished(5000);
    }
    if (m_pipe[1] >= 0)
        ::close(m_pipe[1]);
    if (m_copier.joinable())
        m_copier.join();
    if (m_pipe[0] >= 0)
        ::close(m_pipe[0]);
}

bool ServerProcess::startUntilReady(const QString &program, QByteArray *said)
{
    start(program, QStringList());
    QByteArray output;
    while (!output.contains('\n') && waitForReadyRead(30000))
        output += readAllStandardOutput();
    if (said)
        *said = output;
    return output.startsWith("ready");
}

void ServerProcess::endAsByHand(int waitMs)
{
    if (state() == QProcess::NotRunning)
        return;
    closeWriteChannel();
    if (!waitForFinished(waitMs))
        kill();
    waitForFinished(5000);
}

void ServerProcess::setupChildProcess()
{
    // In the child, before it runs the program (the pipe's ends close on
    // exec; the duplicate does not).
    ::dup2(m_pipe[1], STDERR_FILENO);
    if (m_softDescriptorLimit > 0) {
        struct rlimit limit {};
        if (::getrlimit(RLIMIT_NOFILE, &limit) == 0) {
            limit.rlim_cur = rlim_t(m_softDescriptorLimit);
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }
    }
    if (m_fileSizeLimit >= 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(m_fileSizeLimit);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
}
