#ifndef SERVER_BUSINESS_TERMINALJOURNAL_H
#define SERVER_BUSINESS_TERMINALJOURNAL_H

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <mutex>

// The terminals' writes (the start of a test, a result with its answers),
// kept on disk before they are tried, so that a database that cannot be
// reached, or a server that is killed, loses none of them. Plain text, one
// record a line, in arrival order:
//
//   <number> START <entry> <arrival time>
//   <number> RESULT <entry> <course> <arrival time> <score> <pass mark> <passed 0/1> <answers> [<sittings>]
//   <number> DONE
//
// fields separated by a tab, texts percent-encoded (tab, line end and '%'
// only); the sittings are start times separated by commas, the field present
// (also empty) only when the result's connection sent a start of its entry. A record is written and synced before its write is tried (a DONE
// mark is only written); a last line without its line end (a torn write) is
// ignored, and so is a line's trailing CR. Numbers run from 1 to MAX_NUMBER;
// records done are dropped and the rest numbered from 1 again when the file
// is rewritten: when it is opened, and when it passes REWRITE_BYTES.
//
// A record that cannot reach the file (none could be opened, the disk is
// full, the file cannot be written) is kept in memory with the others, in
// arrival order, and written to the file as soon as it can be again. A
// rewrite that fails leaves the old file in use.
//
// Thread-safe. A record is claimed by the one thread that tries it, so the
// handler queue and the replay never store the same record at once.
class TerminalJournal
{
public:
    static constexpr qint64 REWRITE_BYTES = 1024 * 1024;
    static constexpr qint64 MAX_NUMBER = 1000000000000000LL;
    // The connection of a record read back from the file.
    static constexpr quint64 NO_CONNECTION = ~quint64(0);

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
        // Whether the result's connection sent a start of its entry before
        // it. Then `sittings` holds the start times ("yyyy-MM-dd hh:mm:ss")
        // of the sittings it may belong to: the last of those starts the
        // database took and those sent after it, less any the database
        // refused; the one the entry is in when it is stored is its
        // sitting. False for a terminal that reconnected, and for a result
        // kept by an older version without the field.
        bool ownStarts = false;
        QStringList sittings;
        // The terminal connection the record came from, known in this
        // process only (not written to the file).
        quint64 connection = NO_CONNECTION;
    };

    struct Appended
    {
        qint64 number = 0;              // always > 0: the record is kept, on disk or in memory
        bool claimed = false;           // claimed for the caller
        bool onDisk = false;            // false: kept in memory only (lost if the process dies)
        bool becameUnwritable = false;  // true on the first append that could not reach the
                                        // file since the journal was last writable (once per event)
    };

    TerminalJournal() = default;
    ~TerminalJournal();
    TerminalJournal(const TerminalJournal &) = delete;
    TerminalJournal &operator=(const TerminalJournal &) = delete;

    // Reads what the file still holds, removes the temporaries a killed
    // rewrite left beside it, and rewrites it without the records done.
    // False (logged) when no file could be opened for the records to come:
    // they are then kept in memory.
    bool open(const QString &path);
    bool isOpen() const;

    // Keeps the record (its number is assigned here). When `claimNow` and no
    // earlier record of the same entry is still to be stored, the record is
    // claimed for the caller.
    Appended append(Record &record, bool claimNow);

    // Keeps the record as append does, for the one handler that will store
    // it in its turn: until that handler claims it or lets it go, the replay
    // leaves it, and the later records of its entry, alone.
    Appended appendForHandler(Record &record);
    // The handler's turn: claims the record when no earlier record of its
    // entry is still to be stored. False when it is not to be stored by the
    // caller (done already, or waiting behind an earlier one: then it is the
    // replay's).
    bool claimForHandler(qint64 number);
    // Its handler will not come (its connection closed): the replay stores it.
    void dropHandler(qint64 number);
    // The record still to be stored under `number`; number 0 when there is
    // none.
    Record record(qint64 number) const;

    // Claims, in arrival order, the records to be stored whose entry has no
    // earlier record claimed by someone else or waiting for its handler.
    QList<Record> claimPending();
    // Writes the records kept in memory only to the file, if it takes them
    // now; claimPending does it too.
    void writeKept();
    // Gives a claimed record back: it stays to be stored.
    void release(qint64 number);
    // The record is stored or refused for good.
    void finish(qint64 number);

    int pendingCount() const;

private:
    Appended appendLocked(Record &record, bool claimNow);
    static QByteArray encode(const Record &record);
    static bool decode(QByteArray line, Record *record, qint64 *done);
    void removeTemporaries() const;
    bool openForAppend(qint64 size);
    // Writes whole lines at the end of the file, or nothing at all.
    bool writeLines(const QByteArray &lines, bool sync);
    // Writes the records kept in memory only, in order, while the file takes them.
    void writeKeptInMemory();
    bool rewrite();
    void closeFile();

    mutable std::mutex m_lock;
    QString m_path;
    // Written at m_size, the end of its last whole line.
    int m_fd = -1;
    qint64 m_size = 0;
    qint64 m_rewriteAt = REWRITE_BYTES;
    qint64 m_next = 1;
    // The records still to be stored, by number (arrival order).
    QMap<qint64, Record> m_pending;
    QSet<qint64> m_claimed;
    // Those of m_pending waiting for their handler.
    QSet<qint64> m_forHandler;
    // Those of m_pending the file does not hold.
    QSet<qint64> m_inMemory;
    // An append could not reach the file since it last took one.
    bool m_unwritable = false;
};

#endif // SERVER_BUSINESS_TERMINALJOURNAL_H
