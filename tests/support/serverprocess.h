#ifndef TESTS_SUPPORT_SERVERPROCESS_H
#define TESTS_SUPPORT_SERVERPROCESS_H

// A program started by a suite whose standard error is appended to a file
// by this process, through a pipe: limits set on the program's own files
// (RLIMIT_FSIZE, a full disk) never stop its log. The copying thread ends
// with the program's end of the pipe and is joined by the destructor.

#include <QProcess>
#include <QString>

#include <thread>

class ServerProcess : public QProcess
{
public:
    explicit ServerProcess(const QString &logPath);
    ~ServerProcess() override;

    // Starts `program`, a server that prints "ready <port>" once it serves,
    // and waits for that line; false when it ends or stays silent for 30 s.
    // `said`: its first line, or all it printed.
    bool startUntilReady(const QString &program, QByteArray *said = nullptr);
    // Ends it as by hand: its standard input closed; killed only when it has
    // not ended within `waitMs`.
    void endAsByHand(int waitMs);
    // Starts the program with this soft limit of open descriptors (as
    // `ulimit -Sn`), the hard one left as it is; 0: unchanged.
    void setSoftDescriptorLimit(int limit) { m_softDescriptorLimit = limit; }
    // The program's files may not grow past `bytes` (RLIMIT_FSIZE; a write
    // past it fails, SIGXFSZ being ignored): none when negative, as by
    // default. Set before it starts.
    void setFileSizeLimit(qint64 bytes) { m_fileSizeLimit = bytes; }

protected:
    void setupChildProcess() override;

private:
    int m_pipe[2] = {-1, -1};
    int m_softDescriptorLimit = 0;
    qint64 m_fileSizeLimit = -1;
    std::thread m_copier;
};

#endif // TESTS_SUPPORT_SERVERPROCESS_H
