#ifndef TESTS_SUPPORT_STDOUTCAPTURE_H
#define TESTS_SUPPORT_STDOUTCAPTURE_H

#include <QByteArrayList>

// Sends the process's standard output (or another of its descriptors, such
// as standard error) to a temporary file from construction to stop(), so a
// test can compare the exact lines the protocol layer wrote. Keep the
// captured span to the call under test: Qt Test writes its own results to
// standard output too.
class StdoutCapture
{
public:
    // fd: 1 standard output, 2 standard error.
    explicit StdoutCapture(int fd = 1);
    ~StdoutCapture();

    StdoutCapture(const StdoutCapture &) = delete;
    StdoutCapture &operator=(const StdoutCapture &) = delete;

    // Restores standard output; the captured lines, without their line ends.
    QByteArrayList stop();

private:
    int m_fd = 1;
    int m_savedFd = -1;
    int m_fileFd = -1;
};

#endif // TESTS_SUPPORT_STDOUTCAPTURE_H
