#ifndef SERVER_BUSINESS_WORKFOLDERLOCK_H
#define SERVER_BUSINESS_WORKFOLDERLOCK_H

// One program per working folder: an exclusive flock(2) on orvserver.lock,
// held on the open file for the life of the process. The kernel lets go of
// it when the holder ends however it ends (exit, crash, SIGKILL, power cut),
// so no file left behind, no pid that now belongs to another process and no
// garbled contents can keep a later program out. The file says which process
// holds it (its pid, one line) for the message of the one refused; nothing
// reads more into it.
//
// Needs neither a Qt application nor the log: the programs take it before
// anything else, their log included, and the business controller takes it
// when nobody did before (a suite that builds it alone) before it opens a
// file in the folder. It logs nothing itself.

#include <QString>
#include <QtGlobal>

class WorkFolderLock
{
public:
    enum class State {
        // Not tried yet.
        Untried,
        // This process holds it.
        Held,
        // Another live process holds it: this one must touch nothing.
        TakenByAnother,
        // The file cannot be opened (a read-only folder): no other program
        // could write there either, so this one runs without the lock.
        Unavailable
    };

    static const char *const FILE_NAME;

    // The lock of the working folder this process serves from (the current
    // folder at the first call). Lives until the process ends.
    static WorkFolderLock &process();

    // The lock file at `path`; nothing is opened until take().
    explicit WorkFolderLock(const QString &path);
    // Lets go of the lock (the kernel would at the process's end anyway).
    ~WorkFolderLock();

    WorkFolderLock(const WorkFolderLock &) = delete;
    WorkFolderLock &operator=(const WorkFolderLock &) = delete;

    // Tries once, without waiting; a lock held or refused stays so (later
    // calls answer the same).
    State take();
    State state() const { return m_state; }
    QString path() const { return m_path; }
    // TakenByAnother: the pid the holder wrote, 0 when the file names none.
    qint64 holderPid() const { return m_holderPid; }
    // Unavailable: the errno of the open.
    int error() const { return m_error; }
    // TakenByAnother: who holds the folder, for the message of the one
    // refused ("another program (pid N) runs in the working folder DIR").
    QString holderText() const;

private:
    QString m_path;
    int m_fd = -1;
    State m_state = State::Untried;
    qint64 m_holderPid = 0;
    int m_error = 0;
};

#endif // SERVER_BUSINESS_WORKFOLDERLOCK_H
