#ifndef SERVER_BUSINESS_TERMINALJOURNAL_H
#define SERVER_BUSINESS_TERMINALJOURNAL_H

#include <QFile>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <mutex>

// The terminals' writes (the start of a test, a result with its answers),
// kept on disk before they are tried, so that a database that cannot be
// reached, or a server that is killed, loses none of them. Plain text, one
// record a line, in arrival order:
//
//   <number> START <entry> <arrival time>
//   <number> RESULT <entry> <course> <arrival time> <score> <pass mark> <passed 0/1> <answers> [<sitting>]
//   <number> DONE
//
// fields separated by a tab, texts percent-encoded (tab, line end and '%'
// only). A record is written, flushed and synced before its write is tried
// (a DONE mark is only flushed); a last line without its line end (a torn
// write) is ignored. Records done are
// dropped when the file is rewritten: when it is opened, and when it passes
// REWRITE_BYTES.
//
// Thread-safe. A record is claimed by the one thread that tries it, so the
// handler queue and the retries never store the same record at once.
class TerminalJournal
{
public:
    static constexpr qint64 REWRITE_BYTES = 1024 * 1024;

    struct Record
    {
        enum Kind { Start, Result };
        qint64 number = 0;
        Kind kind = Start;
        int entryId = 0;
        QString courseCode;
        QString time;
        int score = 0;
        int passMark = 0;
        bool passed = false;
        QString answers;
        // The entry's start time ("yyyy-MM-dd hh:mm:ss"): the sitting a
        // result belongs to. Empty for a start, and for a result written
        // without it (nine fields).
        QString sitting;
    };

    struct Appended
    {
        qint64 number = 0;              // always > 0: the record is kept, on disk or in memory
        bool claimed = false;           // claimed for the caller
        bool onDisk = false;            // false: kept in memory only (lost if the process dies)
        bool becameUnwritable = false;  // true on the first append that could not reach the
                                        // file since the journal was last writable (once per event)
    };

    // Reads what the file still holds and rewrites it without the records
    // done. False (logged) when it cannot be read or written: the writes are
    // then tried without being kept.
    bool open(const QString &path);
    bool isOpen() const;

    // Keeps the record (its number is assigned here), on disk when it can
    // be written, in memory otherwise. When `claimNow` and no earlier
    // record of the same entry is still to be stored, the record is claimed
    // for the caller.
    Appended append(Record &record, bool claimNow);

    // Claims, in arrival order, the records to be stored whose entry has no
    // earlier record claimed by someone else.
    QList<Record> claimPending();
    // Gives a claimed record back: it stays to be stored.
    void release(qint64 number);
    // The record is stored or refused for good.
    void finish(qint64 number);

    int pendingCount() const;

private:
    static QByteArray encode(const Record &record);
    static bool decode(const QByteArray &line, Record *record, qint64 *done);
    bool writeLine(const QByteArray &line, bool sync);
    bool rewrite();

    mutable std::mutex m_lock;
    QString m_path;
    QFile m_file;
    qint64 m_next = 1;
    // The records still to be stored, by number (arrival order).
    QMap<qint64, Record> m_pending;
    QSet<qint64> m_claimed;
    bool m_unwritable = false;
};

#endif // SERVER_BUSINESS_TERMINALJOURNAL_H
