#include "server/business/terminaljournalreplay.h"

#include "connection/mysqlconnectionclient.h"

#include <QDebug>
#include <QSet>

#include <algorithm>
#include <chrono>

TerminalJournalReplay::TerminalJournalReplay(TerminalJournal &journal, Open open, Store store)
    : m_journal(journal), m_open(std::move(open)), m_store(std::move(store))
{
}

TerminalJournalReplay::~TerminalJournalReplay()
{
    stop();
}

void TerminalJournalReplay::start()
{
    if (m_thread.isStarted())
        return;
    if (!m_thread.start([this]() {
            while (!m_thread.stopRequested()) {
                round();
                // Between rounds the records kept in memory are written as
                // soon as the file takes them, whatever the database does.
                const auto next = std::chrono::steady_clock::now() + std::chrono::milliseconds(INTERVAL_MS);
                std::unique_lock<std::mutex> locker(m_wakeLock);
                while (!m_wake && !m_thread.stopRequested() && std::chrono::steady_clock::now() < next) {
                    m_wakeChanged.wait_until(locker, std::min(next, std::chrono::steady_clock::now()
                                                                        + std::chrono::milliseconds(KEPT_MS)));
                    locker.unlock();
                    m_journal.writeKept();
                    locker.lock();
                }
                m_wake = false;
            }
            m_connection.reset();
        }))
        qWarning() << "TerminalJournalReplay: the thread that stores the kept writes could not be started";
}

void TerminalJournalReplay::stop()
{
    m_thread.requestStop();
    wake();
    m_thread.join();
}

void TerminalJournalReplay::wake()
{
    {
        const std::lock_guard<std::mutex> locker(m_wakeLock);
        m_wake = true;
    }
    m_wakeChanged.notify_all();
}

bool TerminalJournalReplay::databaseLost()
{
    return !m_away.exchange(true);
}

void TerminalJournalReplay::databaseFound()
{
    if (m_away.exchange(false))
        wake();
}

bool TerminalJournalReplay::databaseAway() const
{
    return m_away;
}

void TerminalJournalReplay::round()
{
    m_journal.writeKept();
    if (m_journal.pendingCount() == 0 && !m_away)
        return;
    if (!m_connection) {
        m_connection = m_open();
        if (!m_connection)
            return;
    }
    const QList<TerminalJournal::Record> claimed = m_journal.claimPending();
    if (claimed.isEmpty()) {
        // Nothing to store now (what is kept waits for its handlers), but
        // the terminals wait for a statement that succeeds.
        if (m_away && m_connection->probe())
            databaseFound();
        return;
    }
    bool away = false;
    QSet<int> heldBack;
    for (const TerminalJournal::Record &record : claimed) {
        // A later write of an entry never overtakes an earlier one.
        if (away || heldBack.contains(record.entryId) || m_thread.stopRequested()) {
            m_journal.release(record.number);
            continue;
        }
        switch (m_store(m_connection.get(), record)) {
        case Outcome::Stored:
        case Outcome::Refused:
            databaseFound();
            m_journal.finish(record.number);
            break;
        case Outcome::Kept:
            databaseFound();
            heldBack.insert(record.entryId);
            m_journal.release(record.number);
            break;
        case Outcome::Unreachable:
            away = true;
            databaseLost();
            m_journal.release(record.number);
            break;
        }
    }
}
