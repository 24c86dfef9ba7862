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

protected:
    void setupChildProcess() override;

private:
    int m_pipe[2] = {-1, -1};
    std::thread m_copier;
};

#endif // TESTS_SUPPORT_SERVERPROCESS_H
