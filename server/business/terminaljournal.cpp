#include "server/business/terminaljournal.h"

#include <QByteArrayList>
#include <QDebug>
#include <QSaveFile>
#include <QUrl>

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

} // namespace

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
        if (!record.sitting.isEmpty())
            fields << text(record.sitting);
    }
    return fields.join('\t') + '\n';
}

bool TerminalJournal::decode(const QByteArray &line, Record *record, qint64 *done)
{
    const QByteArrayList fields = line.split('\t');
    bool ok = false;
    const qint64 number = fields.value(0).toLongLong(&ok);
    if (!ok || number < 1 || fields.size() < 2)
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
        if (fields.size() == 10)
            record->sitting = untext(fields[9]);
        return toInt(fields[2], &record->entryId) && toInt(fields[5], &record->score)
               && toInt(fields[6], &record->passMark);
    }
    return false;
}

bool TerminalJournal::open(const QString &path)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    m_path = path;
    m_file.close();
    m_pending.clear();
    m_claimed.clear();
    m_next = 1;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            qWarning() << "TerminalJournal: the journal" << path
                       << "cannot be read:" << existing.errorString();
            return false;
        }
        const QByteArray bytes = existing.readAll();
        // Only lines with their line end were written whole.
        const int end = bytes.lastIndexOf('\n') + 1;
        if (end < bytes.size())
            qWarning() << "TerminalJournal: the torn last line of" << path << "is ignored";
        for (const QByteArray &line : bytes.left(end).split('\n')) {
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
    return rewrite();
}

bool TerminalJournal::rewrite()
{
    m_file.close();
    QSaveFile file(m_path);
    bool written = file.open(QIODevice::WriteOnly);
    for (const Record &record : qAsConst(m_pending)) {
        if (written)
            written = file.write(encode(record)) >= 0;
    }
    // QSaveFile syncs the new file before it takes the old one's place.
    if (!written || !file.commit()) {
        qWarning() << "TerminalJournal: the journal" << m_path
                   << "cannot be written:" << file.errorString();
        return false;
    }
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        qWarning() << "TerminalJournal: the journal" << m_path
                   << "cannot be opened:" << m_file.errorString();
        return false;
    }
    return true;
}

bool TerminalJournal::isOpen() const
{
    const std::lock_guard<std::mutex> locker(m_lock);
    return m_file.isOpen();
}

bool TerminalJournal::writeLine(const QByteArray &line, bool sync)
{
    if (!m_file.isOpen())
        return false;
    if (m_file.write(line) != line.size() || !m_file.flush()
        || (sync && ::fdatasync(m_file.handle()) != 0)) {
        qWarning() << "TerminalJournal: a record could not be written to" << m_path << ":"
                   << m_file.errorString();
        return false;
    }
    return true;
}

TerminalJournal::Appended TerminalJournal::append(Record &record, bool claimNow)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    Appended appended;
    record.number = m_next++;
    appended.number = record.number;
    appended.onDisk = writeLine(encode(record), true);
    appended.becameUnwritable = !appended.onDisk && !m_unwritable;
    m_unwritable = !appended.onDisk;
    bool earlier = false;
    for (const Record &pending : qAsConst(m_pending))
        earlier = earlier || pending.entryId == record.entryId;
    m_pending.insert(record.number, record);
    if (claimNow && !earlier) {
        m_claimed.insert(record.number);
        appended.claimed = true;
    }
    return appended;
}

QList<TerminalJournal::Record> TerminalJournal::claimPending()
{
    const std::lock_guard<std::mutex> locker(m_lock);
    QList<Record> claimed;
    QSet<int> heldElsewhere;
    for (const Record &record : qAsConst(m_pending)) {
        if (m_claimed.contains(record.number)) {
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
    if (m_pending.remove(number) == 0)
        return;
    // Not synced: a mark lost with the machine only has the write tried
    // again, and the entry's state refuses it.
    writeLine(QByteArray::number(number) + "\tDONE\n", false);
    if (m_file.size() > REWRITE_BYTES && m_claimed.isEmpty())
        rewrite();
}

int TerminalJournal::pendingCount() const
{
    const std::lock_guard<std::mutex> locker(m_lock);
    return m_pending.size();
}
