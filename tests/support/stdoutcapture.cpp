#include "tests/support/stdoutcapture.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

StdoutCapture::StdoutCapture(int fd) : m_fd(fd)
{
    std::fflush(stdout);
    std::fflush(stderr);
    char path[] = "/tmp/orv-stdout-XXXXXX";
    m_fileFd = mkstemp(path);
    if (m_fileFd < 0)
        return;
    unlink(path);
    m_savedFd = dup(m_fd);
    dup2(m_fileFd, m_fd);
}

StdoutCapture::~StdoutCapture()
{
    stop();
}

QByteArrayList StdoutCapture::stop()
{
    if (m_fileFd < 0)
        return {};
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(m_savedFd, m_fd);
    close(m_savedFd);
    m_savedFd = -1;

    QByteArray text;
    lseek(m_fileFd, 0, SEEK_SET);
    char chunk[4096];
    ssize_t n;
    while ((n = ::read(m_fileFd, chunk, sizeof chunk)) > 0)
        text.append(chunk, int(n));
    close(m_fileFd);
    m_fileFd = -1;

    QByteArrayList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
