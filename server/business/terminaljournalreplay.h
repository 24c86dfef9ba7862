#ifndef SERVER_BUSINESS_TERMINALJOURNALREPLAY_H
#define SERVER_BUSINESS_TERMINALJOURNALREPLAY_H

#include "platform/thread.h"
#include "server/business/terminaljournal.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class MySqlConnectionClient;

// Stores what the terminals' journal holds, on a thread and a database
// connection of its own: every INTERVAL_MS, and at once when woken. Each
// round claims the records to be stored in arrival order, tries each and
// finishes it (stored or refused for good) or gives it back (kept); once the
// database cannot be reached the rest of the round is given back, and a
// record kept for another cause holds back the later ones of its entry.
//
// Between rounds it writes the records the journal keeps in memory only to
// the file as soon as it takes them again.
//
// It also knows whether the terminals' path has found the database away:
// from then on the terminals try no statement, and the rounds probe the
// database, even with nothing kept, until a statement succeeds again.
class TerminalJournalReplay
{
public:
    enum class Outcome {
        Stored,
        // Refused for good: done.
        Refused,
        // Not stored for a cause another try may mend (a lock wait, a
        // deadlock, a missing table): tried again next round.
        Kept,
        Unreachable,
    };
    using Connection = std::shared_ptr<MySqlConnectionClient>;
    using Open = std::function<Connection()>;
    using Store = std::function<Outcome(MySqlConnectionClient *db, const TerminalJournal::Record &record)>;

    static constexpr int INTERVAL_MS = 5000;
    // Between rounds, the records the journal keeps in memory only are
    // written to its file this often, when it takes them.
    static constexpr int KEPT_MS = 1000;

    // `open` makes the rounds' connection (null when it cannot be opened);
    // `store` tries one record on it. Both are called on the replay's
    // thread only.
    TerminalJournalReplay(TerminalJournal &journal, Open open, Store store);
    // Joins the thread.
    ~TerminalJournalReplay();

    TerminalJournalReplay(const TerminalJournalReplay &) = delete;
    TerminalJournalReplay &operator=(const TerminalJournalReplay &) = delete;

    // Does not wait for a round. Nothing when started already.
    void start();
    // Joins the thread; what is still kept stays in the journal.
    void stop();
    void wake();

    // A statement found the database unreachable. True when the database
    // was not known to be away before: an outage begins.
    bool databaseLost();
    // A statement succeeded: the terminals may try theirs again.
    void databaseFound();
    bool databaseAway() const;

private:
    void round();

    TerminalJournal &m_journal;
    Open m_open;
    Store m_store;
    Thread m_thread;
    std::mutex m_wakeLock;
    std::condition_variable m_wakeChanged;
    bool m_wake = false;
    std::atomic<bool> m_away{false};
    // Used on the replay's thread only.
    Connection m_connection;
};

#endif // SERVER_BUSINESS_TERMINALJOURNALREPLAY_H
