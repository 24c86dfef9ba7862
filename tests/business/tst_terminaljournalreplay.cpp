// The rounds that store what the terminals' journal keeps: in arrival
// order, a record kept for a passing cause holding back the later ones of
// its entry only, a database that cannot be reached giving the rest of the
// round back; and whether the terminals may try their statements.

#include "connection/mysqlconnectionclient.h"
#include "server/business/terminaljournalreplay.h"
#include "tests/support/testmain.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include <mutex>

namespace {

using Outcome = TerminalJournalReplay::Outcome;

struct Written
{
    TerminalJournal::Record::Kind kind;
    int entryId;
};

} // namespace

class TestTerminalJournalReplay : public QObject
{
    Q_OBJECT

private slots:
    void round_data();
    void round();
};

void TestTerminalJournalReplay::round_data()
{
    QTest::addColumn<QVector<int>>("entries");
    // The outcome of the record of that number, Stored for the others.
    QTest::addColumn<int>("failing");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QVector<int>>("tried");
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("away");
    QTest::newRow("all stored") << QVector<int>{5, 5, 6} << 0 << int(Outcome::Stored) << QVector<int>{1, 2, 3} << 0
                                << false;
    QTest::newRow("refused is done") << QVector<int>{5, 5, 6} << 1 << int(Outcome::Refused) << QVector<int>{1, 2, 3}
                                     << 0 << false;
    // The entry's result never overtakes its start; the other entry goes on.
    QTest::newRow("kept holds back its entry") << QVector<int>{5, 5, 6} << 1 << int(Outcome::Kept)
                                               << QVector<int>{1, 3} << 2 << false;
    QTest::newRow("unreachable gives the round back") << QVector<int>{5, 6, 7} << 2 << int(Outcome::Unreachable)
                                                      << QVector<int>{1, 2} << 2 << true;
}

void TestTerminalJournalReplay::round()
{
    QFETCH(QVector<int>, entries);
    QFETCH(int, failing);
    QFETCH(int, outcome);
    QFETCH(QVector<int>, tried);
    QFETCH(int, left);
    QFETCH(bool, away);
    QTemporaryDir dir;
    TerminalJournal journal;
    QVERIFY(journal.open(dir.filePath("terminal_journal.txt")));
    for (int i = 0; i < entries.size(); ++i) {
        TerminalJournal::Record record;
        record.kind = i > 0 && entries[i - 1] == entries[i] ? TerminalJournal::Record::Result
                                                            : TerminalJournal::Record::Start;
        record.entryId = entries[i];
        journal.append(record, false);
    }

    std::mutex lock;
    QVector<int> seen;
    TerminalJournalReplay replay(
        journal, []() { return std::make_shared<MySqlConnectionClient>(); },
        [&](MySqlConnectionClient *, const TerminalJournal::Record &record) {
            const std::lock_guard<std::mutex> locker(lock);
            seen << int(record.number);
            return record.number == failing ? Outcome(outcome) : Outcome::Stored;
        });
    replay.start();
    // The first round runs at once; the next only after INTERVAL_MS.
    const QDeadlineTimer deadline(TerminalJournalReplay::INTERVAL_MS / 2);
    while (!deadline.hasExpired() && journal.pendingCount() != left)
        QThread::msleep(10);
    QThread::msleep(100);
    replay.stop();
    QCOMPARE(seen, tried);
    QCOMPARE(journal.pendingCount(), left);
    QCOMPARE(replay.databaseAway(), away);
    replay.databaseFound();
    QVERIFY(!replay.databaseAway());
}

ORV_TEST_MAIN_CORE(TestTerminalJournalReplay)
#include "tst_terminaljournalreplay.moc"
