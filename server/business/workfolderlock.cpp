#include "server/business/workfolderlock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

const char *const WorkFolderLock::FILE_NAME = "orvserver.lock";

WorkFolderLock &WorkFolderLock::process()
{
    static WorkFolderLock lock(QDir::current().absoluteFilePath(QString::fromLatin1(FILE_NAME)));
    return lock;
}

WorkFolderLock::WorkFolderLock(const QString &path) : m_path(path) {}

WorkFolderLock::~WorkFolderLock()
{
    if (m_fd < 0)
        return;
    // The pid would outlive its process; the lock itself goes with the
    // descriptor. The file stays: removing it would let a program that has
    // it open lock a file nobody else sees.
    if (m_state == State::Held && ::ftruncate(m_fd, 0) != 0) {
        // Read-only: the pid stays, and means nothing once the lock is gone.
    }
    ::close(m_fd);
}

QString WorkFolderLock::holderText() const
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(m_path).absolutePath());
    // A holder that wrote no pid yet (or could not) is still a holder.
    if (m_holderPid <= 0)
        return QStringLiteral("another program runs in the working folder %1").arg(folder);
    return QStringLiteral("another program (pid %1) runs in the working folder %2").arg(m_holderPid).arg(folder);
}

WorkFolderLock::State WorkFolderLock::take()
{
    if (m_state != State::Untried)
        return m_state;
    const QByteArray path = QFile::encodeName(m_path);
    // Not inherited by a program this one starts: it would keep the folder
    // locked after this one ended.
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
    bool writable = fd >= 0;
    // A file this account may only read (left by another account, or in a
    // folder made read-only) locks as well.
    if (fd < 0)
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        m_error = errno;
        m_state = State::Unavailable;
        return m_state;
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        m_error = errno;
        if (m_error == EWOULDBLOCK) {
            char text[32] = {};
            const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
            if (n > 0)
                m_holderPid = QByteArray(text, int(n)).split('\n').value(0).trimmed().toLongLong();
            m_state = State::TakenByAnother;
        } else {
            // A file system without such locks.
            m_state = State::Unavailable;
        }
        ::close(fd);
        return m_state;
    }
    m_fd = fd;
    m_state = State::Held;
    if (writable && ::ftruncate(fd, 0) == 0) {
        const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
        // Only for the message of a program refused: a pid not written
        // changes nothing.
        if (::pwrite(fd, pid.constData(), size_t(pid.size()), 0) != pid.size()) {
        }
    }
    return m_state;
}
