#include "server/business/terminaljournal.h"

#include <QByteArrayList>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QByteArray EXCLUDED = QByteArrayLiteral(" !\"#$&'()*+,/:;<=>?@[\\]^`{|}");

QByteArray text(const QString &value)
{
    return QUrl::toPercentEncoding(value, EXCLUDED);
}

QString untext(const QByteArray &value)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(value));
}

bool toInt(const QByteArray &field, int *value)
{
    bool ok = false;
    *value = field.toInt(&ok);
    return ok;
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The rename that put a rewritten journal in place lasts only once its
// folder is on disk too.
void syncFolder(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0)
        qWarning() << "TerminalJournal: the folder of" << path << "could not be synced:" << errnoText(errno);
    if (fd >= 0)
        ::close(fd);
}

} // namespace

TerminalJournal::~TerminalJournal()
{
    closeFile();
}

QByteArray TerminalJournal::encode(const Record &record)
{
    QByteArrayList fields;
    fields << QByteArray::number(record.number);
    if (record.kind == Record::Start) {
        fields << "START" << QByteArray::number(record.entryId) << text(record.time);
    } else {
        fields << "RESULT" << QByteArray::number(record.entryId) << text(record.courseCode)
               << text(record.time) << QByteArray::number(record.score)
               << QByteArray::number(record.passMark) << (record.passed ? "1" : "0")
               << text(record.answers);
        if (record.ownStarts) {
            QByteArrayList sittings;
            for (const QString &sitting : record.sittings)
                sittings << text(sitting);
            fields << sittings.join(',');
        }
    }
    return fields.join('\t') + '\n';
}

bool TerminalJournal::decode(QByteArray line, Record *record, qint64 *done)
{
    // A file edited or copied on another system may end its lines with CR LF.
    if (line.endsWith('\r'))
        line.chop(1);
    const QByteArrayList fields = line.split('\t');
    bool ok = false;
    const qint64 number = fields.value(0).toLongLong(&ok);
    // Far from any number this journal gives: the next numbers would
    // overflow.
    if (!ok || number < 1 || number > MAX_NUMBER || fields.size() < 2)
        return false;
    *done = 0;
    if (fields[1] == "DONE" && fields.size() == 2) {
        *done = number;
        return true;
    }
    record->number = number;
    if (fields[1] == "START" && fields.size() == 4) {
        record->kind = Record::Start;
        record->time = untext(fields[3]);
        return toInt(fields[2], &record->entryId);
    }
    if (fields[1] == "RESULT" && (fields.size() == 9 || fields.size() == 10)) {
        record->kind = Record::Result;
        record->courseCode = untext(fields[3]);
        record->time = untext(fields[4]);
        record->passed = fields[7] == "1";
        record->answers = untext(fields[8]);
        // An older version wrote the field only with the one sitting it
        // knew, and no field for a result of a terminal that reconnected.
        record->ownStarts = fields.size() == 10;
        for (const QByteArray &sitting : fields.value(9).split(',')) {
            if (!sitting.isEmpty())
                record->sittings << untext(sitting);
        }
        return toInt(fields[2], &record->entryId) && toInt(fields[5], &record->score)
               && toInt(fields[6], &record->passMark);
    }
    return false;
}

void TerminalJournal::closeFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
}

void TerminalJournal::removeTemporaries() const
{
    // A rewrite killed before its rename leaves its new file beside the
    // journal, never to be used.
    const QFileInfo journal(m_path);
    QDir folder = journal.absoluteDir();
    const QStringList stale =
        folder.entryList({journal.fileName() + ".*"}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : stale) {
        if (folder.remove(name))
            qInfo() << "TerminalJournal: removed" << folder.filePath(name) << "left by an unfinished rewrite";
        else
            qWarning() << "TerminalJournal:" << folder.filePath(name) << "could not be removed";
    }
}

bool TerminalJournal::open(const QString &path)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    closeFile();
    m_path = path;
    m_pending.clear();
    m_claimed.clear();
    m_forHandler.clear();
    m_inMemory.clear();
    m_next = 1;
    m_rewriteAt = REWRITE_BYTES;
    m_unwritable = false;
    removeTemporaries();
    QFile existing(path);
    const bool exists = existing.exists();
    qint64 end = 0;
    if (exists) {
        if (!existing.open(QIODevice::ReadOnly)) {
            qWarning() << "TerminalJournal: the journal" << path << "cannot be read:" << existing.errorString()
                       << "; the terminals' writes are kept in memory only";
            return false;
        }
        const QByteArray bytes = existing.readAll();
        // Only lines with their line end were written whole.
        end = bytes.lastIndexOf('\n') + 1;
        if (end < bytes.size())
            qWarning() << "TerminalJournal: the torn last line of" << path << "is ignored";
        for (const QByteArray &line : bytes.left(int(end)).split('\n')) {
            if (line.isEmpty())
                continue;
            Record record;
            qint64 done = 0;
            if (!decode(line, &record, &done)) {
                qWarning() << "TerminalJournal: a line of" << path << "is not a record and is ignored:"
                           << line.left(80);
                continue;
            }
            if (done != 0)
                m_pending.remove(done);
            else
                m_pending.insert(record.number, record);
            m_next = qMax(m_next, (done != 0 ? done : record.number) + 1);
        }
    }
    if (rewrite())
        return true;
    // The old file, as it was read, takes the records to come.
    if (exists && openForAppend(end)) {
        m_rewriteAt = m_size + REWRITE_BYTES;
        return true;
    }
    qWarning() << "TerminalJournal: no journal could be opened at" << path
               << "; the terminals' writes are kept in memory only";
    return false;
}

bool TerminalJournal::openForAppend(qint64 size)
{
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CLOEXEC);
    // A torn last line would run into the next record.
    if (fd < 0 || ::ftruncate(fd, off_t(size)) != 0) {
        qWarning() << "TerminalJournal: the journal" << m_path << "cannot be opened:" << errnoText(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_fd = fd;
    m_size = size;
    return true;
}

bool TerminalJournal::rewrite()
{
    QMap<qint64, Record> renumbered;
    QByteArray lines;
    qint64 number = 0;
    for (Record record : qAsConst(m_pending)) {
        record.number = ++number;
        lines += encode(record);
        renumbered.insert(number, record);
    }
    QSaveFile file(m_path);
    bool written = file.open(QIODevice::WriteOnly) && file.write(lines) == lines.size() && file.flush();
    // The new file, kept open past its rename, takes the records to come.
    const int fd = written ? ::fcntl(file.handle(), F_DUPFD_CLOEXEC, 0) : -1;
    // QSaveFile syncs the new file before it takes the old one's place.
    written = fd >= 0 && file.commit();
    m_rewriteAt = (written ? lines.size() : m_size) + REWRITE_BYTES;
    if (!written) {
        if (fd >= 0)
            ::close(fd);
        qWarning() << "TerminalJournal: the journal" << m_path << "cannot be rewritten:" << file.errorString()
                   << (m_fd >= 0 ? "; the present file stays in use" : "");
        return false;
    }
    syncFolder(m_path);
    closeFile();
    m_fd = fd;
    m_size = lines.size();
    m_pending = renumbered;
    m_inMemory.clear();
    m_next = number + 1;
    m_unwritable = false;
    return true;
}

bool TerminalJournal::isOpen() const
{
    const std::lock_guard<std::mutex> locker(m_lock);
    return m_fd >= 0;
}

bool TerminalJournal::writeLines(const QByteArray &lines, bool sync)
{
    if (m_fd < 0)
        return false;
    // Straight to the file at the end of its last whole line: nothing waits
    // in a buffer to reach it later, behind a record written meanwhile.
    qint64 written = 0;
    int error = 0;
    while (written < lines.size()) {
        const ssize_t n = ::pwrite(m_fd, lines.constData() + written, size_t(lines.size() - written),
                                   off_t(m_size + written));
        if (n > 0)
            written += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
    }
    if (error == 0 && sync && ::fdatasync(m_fd) != 0)
        error = errno;
    if (error == 0) {
        m_size += written;
        return true;
    }
    if (!m_unwritable)
        qWarning() << "TerminalJournal: the journal" << m_path << "cannot be written:" << errnoText(error);
    // What part of the line reached the file would be read back as a
    // record, or joined to the next one.
    if (::ftruncate(m_fd, off_t(m_size)) != 0) {
        qCritical() << "TerminalJournal: the journal" << m_path << "cannot be cut back to its last record:"
                    << errnoText(errno) << "; it is no longer written";
        closeFile();
    }
    return false;
}

void TerminalJournal::writeKeptInMemory()
{
    for (auto it = m_pending.cbegin(); it != m_pending.cend() && !m_inMemory.isEmpty(); ++it) {
        if (!m_inMemory.contains(it.key()))
            continue;
        if (!writeLines(encode(it.value()), true))
            return;
        m_inMemory.remove(it.key());
    }
}

TerminalJournal::Appended TerminalJournal::append(Record &record, bool claimNow)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    return appendLocked(record, claimNow);
}

TerminalJournal::Appended TerminalJournal::appendLocked(Record &record, bool claimNow)
{
    Appended appended;
    // Used up even when the file does not take it: bytes of a failed write
    // must never be read under the number of a later record.
    record.number = m_next++;
    appended.number = record.number;
    appended.onDisk = writeLines(encode(record), true);
    if (!appended.onDisk) {
        m_inMemory.insert(record.number);
        appended.becameUnwritable = !m_unwritable;
        m_unwritable = true;
    }
    bool earlier = false;
    for (const Record &pending : qAsConst(m_pending))
        earlier = earlier || pending.entryId == record.entryId;
    m_pending.insert(record.number, record);
    if (claimNow && !earlier) {
        m_claimed.insert(record.number);
        appended.claimed = true;
    }
    if (appended.onDisk) {
        m_unwritable = false;
        writeKeptInMemory();
    }
    return appended;
}

TerminalJournal::Appended TerminalJournal::appendForHandler(Record &record)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    const Appended appended = appendLocked(record, false);
    m_forHandler.insert(appended.number);
    return appended;
}

bool TerminalJournal::claimForHandler(qint64 number)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    if (m_forHandler.remove(number) == 0 || !m_pending.contains(number))
        return false;
    const int entryId = m_pending.value(number).entryId;
    for (auto it = m_pending.cbegin(); it != m_pending.cend() && it.key() < number; ++it) {
        if (it->entryId == entryId)
            return false;
    }
    m_claimed.insert(number);
    return true;
}

void TerminalJournal::dropHandler(qint64 number)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    m_forHandler.remove(number);
}

TerminalJournal::Record TerminalJournal::record(qint64 number) const
{
    const std::lock_guard<std::mutex> locker(m_lock);
    return m_pending.value(number);
}

void TerminalJournal::writeKept()
{
    const std::lock_guard<std::mutex> locker(m_lock);
    if (m_inMemory.isEmpty())
        return;
    writeKeptInMemory();
    if (m_inMemory.isEmpty())
        m_unwritable = false;
}

QList<TerminalJournal::Record> TerminalJournal::claimPending()
{
    // The replay comes by even when no terminal writes: the records kept in
    // memory reach the file as soon as it takes them again.
    writeKept();
    const std::lock_guard<std::mutex> locker(m_lock);
    QList<Record> claimed;
    QSet<int> heldElsewhere;
    for (const Record &record : qAsConst(m_pending)) {
        if (m_claimed.contains(record.number) || m_forHandler.contains(record.number)) {
            heldElsewhere.insert(record.entryId);
            continue;
        }
        if (heldElsewhere.contains(record.entryId))
            continue;
        m_claimed.insert(record.number);
        claimed << record;
    }
    return claimed;
}

void TerminalJournal::release(qint64 number)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    m_claimed.remove(number);
}

void TerminalJournal::finish(qint64 number)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    m_claimed.remove(number);
    m_forHandler.remove(number);
    if (m_pending.remove(number) == 0)
        return;
    // Not synced: a mark lost with the machine only has the write tried
    // again, and the entry's state refuses it.
    if (m_inMemory.remove(number) == 0)
        writeLines(QByteArray::number(number) + "\tDONE\n", false);
    // Renumbering changes the keys: no one may hold one.
    if (m_fd >= 0 && m_size > m_rewriteAt && m_claimed.isEmpty() && m_forHandler.isEmpty())
        rewrite();
}

int TerminalJournal::pendingCount() const
{
    const std::lock_guard<std::mutex> locker(m_lock);
    return m_pending.size();
}
