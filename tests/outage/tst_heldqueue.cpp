// Nothing a terminal sent that reached the server is lost or held up by what
// holds the handler queue or the database: a result that arrived while
// another terminal's write waited on a row lock is stored with its own
// arrival time after the server was stopped or killed; a silent database
// host costs all terminals, old and new, one time-out in all; a terminal
// that connected during an outage is answered then, and admitted once the
// database is back, on the same connection; a read of the admission that
// fails answers "no database connection"; a write that committed after its
// time-out counts as stored; and a write the journal could keep only in
// memory reaches its file as soon as the file takes it (the real process,
// without its window).

#include "connection/mysqlopener.h"
#include "tests/support/loopbackproxy.h"
#include "tests/support/outagefixture.h"
#include "tests/support/terminalsteps.h"
#include "tests/support/testmain.h"
#include "tests/support/testterminal.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <signal.h>
#include <sys/resource.h>

#include <memory>
#include <vector>

namespace {

using Messages = TestTerminalMessages;

// The entries the cases use, each its own.
const int ENTRIES = 12;
// How long a terminal's result waits behind a held queue: long enough that
// the time the queue was freed is not the time it arrived.
const int HELD_MS = 6000;
// A terminal connected during an outage is admitted this soon after the
// database returns (the replay looks for it every 5 s).
const int ADMITTED_WITHIN_MS = 10000;

// Every admission reads the theory result.
WorkFolder::Options theoryChecked()
{
    WorkFolder::Options options;
    options.checkPassingTheory = true;
    return options;
}

QDateTime toTheSecond(const QDateTime &time)
{
    return time.addMSecs(-time.time().msec());
}

} // namespace

class TestHeldQueue : public OutageFixture
{
    Q_OBJECT

public:
    TestHeldQueue() : OutageFixture("heldqueue", ENTRIES, theoryChecked()) {}

private slots:
    void heldQueueLosesNothing_data();
    void heldQueueLosesNothing();
    void silentHostCostsOneTimeOut();
    void terminalConnectedDuringTheOutage();
    void admissionReadLost_data();
    void admissionReadLost();
    void writeThatOutlivedItsTimeOutIsStored();
    void keptInMemoryReachesTheFile();

private:
    // Asks for the admission of `order` every second, for `withinMs` at
    // most: 0 once it is admitted as its entry, else the last status it got
    // (-1: no answer, or another entry).
    int admitWithin(TestTerminal &terminal, int order, int withinMs);
};

int TestHeldQueue::admitWithin(TestTerminal &terminal, int order, int withinMs)
{
    const QDeadlineTimer deadline(withinMs);
    Messages::EnterResponseFields reply;
    reply.status = -1;
    do {
        QString error;
        if (!TerminalSteps::enter(terminal, "C1", QByteArray::number(order), &reply, &error)) {
            qWarning() << "no answer to the admission:" << error;
            return -1;
        }
        if (reply.status == 0)
            return reply.entryId == order ? 0 : -1;
        QThread::msleep(1000);
    } while (!deadline.hasExpired());
    return reply.status;
}

void TestHeldQueue::heldQueueLosesNothing_data()
{
    QTest::addColumn<bool>("kill");
    // The entry whose write holds the queue, and the one that waits behind it.
    QTest::addColumn<int>("holding");
    QTest::addColumn<int>("waiting");
    QTest::newRow("stopped as by hand") << false << 1 << 2;
    QTest::newRow("SIGKILL") << true << 3 << 4;
}

void TestHeldQueue::heldQueueLosesNothing()
{
    QFETCH(bool, kill);
    QFETCH(int, holding);
    QFETCH(int, waiting);
    // A write that waits on a row lock holds the queue rather than timing
    // out (in the terminals' sessions, opened from the admissions on).
    endServer();
    setLockWaitSeconds(60);
    QProcessEnvironment environment;
    environment.insert("ORV_DB_IO_TIMEOUT_SECONDS", "30");
    QVERIFY(startServer(environment));
    TestTerminal first;
    TestTerminal second;
    admit(first, holding, true);
    admit(second, waiting, true);

    holdRow(holding);
    const QDateTime firstSent = QDateTime::currentDateTime();
    sendResult(first, holding, 40);
    QVERIFY2(waitForLockWait(5000), serverLog().right(3000).constData());
    const QDateTime secondSent = QDateTime::currentDateTime();
    sendResult(second, waiting, 41);
    const QByteArray record = "\tRESULT\t" + QByteArray::number(waiting) + "\tC1\t";
    const QDeadlineTimer kept(2000);
    while (!journal().contains(record) && !kept.hasExpired())
        QThread::msleep(50);
    QVERIFY2(journal().contains(record), journal().constData());
    QThread::msleep(HELD_MS);
    // Its handler has not run: the queue is held.
    QCOMPARE(entryField(waiting, "TrangThai").toInt(), 1);

    if (kill) {
        ::kill(pid_t(m_server->processId()), SIGKILL);
        QVERIFY(m_server->waitForFinished(10000));
        releaseRow();
    } else {
        // The stop waits for the running handler: the lock goes once the
        // stop was asked.
        m_server->closeWriteChannel();
        QThread::msleep(500);
        releaseRow();
        QVERIFY(m_server->waitForFinished(20000));
        QCOMPARE(m_server->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_server->exitCode(), 0);
    }
    first.close();
    second.close();

    QVERIFY(startServer());
    QVERIFY(waitForState(holding, 2));
    QVERIFY(waitForState(waiting, 2));
    QVERIFY(waitForJournalDone());
    struct Sent { int entry; int score; QDateTime at; };
    for (const Sent &sent : {Sent{holding, 40, firstSent}, Sent{waiting, 41, secondSent}}) {
        // The time it arrived, not the time the queue was freed.
        const QDateTime stored = entryField(sent.entry, "ThoiGianKetThucThi").toDateTime();
        QVERIFY2(stored >= toTheSecond(sent.at) && stored <= sent.at.addSecs(2),
                 qPrintable(QString("entry %1: sent at %2, stored as %3")
                                .arg(sent.entry)
                                .arg(sent.at.toString(TIME_FORMAT), stored.toString(TIME_FORMAT))));
        QCOMPARE(entryField(sent.entry, "DiemMoPhong").toInt(), sent.score);
        QCOMPARE(entryField(sent.entry, "ChiTietThi").toInt(), 1);
        verifyChecksum(sent.entry);
    }
}

void TestHeldQueue::silentHostCostsOneTimeOut()
{
    endServer();
    LoopbackProxy proxy;
    QVERIFY(proxy.start(m_database.port()));
    routeThrough(&proxy);
    QVERIFY(startServer());
    // Terminals whose sessions are open, and new ones that have none.
    std::vector<std::unique_ptr<TestTerminal>> open;
    for (int i = 0; i < 3; ++i) {
        open.emplace_back(new TestTerminal);
        connectTerminal(*open.back());
        sync(*open.back());
    }

    proxy.freeze();
    QElapsedTimer timer;
    timer.start();
    // One after another on the queue.
    for (const auto &terminal : open)
        QVERIFY2(terminal->sendFrame(Messages::ContestName, Messages::contestNameRequest()),
                 qPrintable(terminal->errorString()));
    // Each asks for what its first session would be opened for.
    const QByteArray admissions[] = {"", "10", "", "11", ""};
    std::vector<std::unique_ptr<TestTerminal>> fresh;
    for (const QByteArray &order : admissions) {
        fresh.emplace_back(new TestTerminal);
        TestTerminal &terminal = *fresh.back();
        connectTerminal(terminal);
        const bool sent = order.isEmpty()
                              ? terminal.sendFrame(Messages::ContestName, Messages::contestNameRequest())
                              : terminal.sendEncrypted(Messages::EncryptedContestEnter,
                                                       Messages::contestEnter("C1", order));
        QVERIFY2(sent, qPrintable(terminal.errorString()));
    }

    // One time-out in all: the first statement's read time-out, then the
    // reopening of its connection, which waits out the connect time-out
    // (the silent host's port takes the connection, its greeting never
    // comes); the new connections' openings wait theirs meanwhile, each on
    // its own thread. Before, each waited for time-outs of its own in turn.
    const int withinMs = (IO_TIMEOUT_SECONDS + MySqlOpener::CONNECT_TIMEOUT_SECONDS) * 1000 + 4000;
    QString error;
    for (const auto &terminal : open) {
        Messages::ContestNameFields names;
        QVERIFY2(TerminalSteps::readContestNames(*terminal, &names, &error, 60000), qPrintable(error));
        QVERIFY2(names.codes.isEmpty() && names.names.isEmpty(), names.codes.constData());
    }
    for (size_t i = 0; i < fresh.size(); ++i) {
        if (admissions[i].isEmpty()) {
            Messages::ContestNameFields names;
            QVERIFY2(TerminalSteps::readContestNames(*fresh[i], &names, &error, 60000), qPrintable(error));
            QVERIFY2(names.codes.isEmpty(), names.codes.constData());
        } else {
            Messages::EnterResponseFields reply;
            QVERIFY2(TerminalSteps::readEnterResponse(*fresh[i], &reply, &error, 60000), qPrintable(error));
            QCOMPARE(reply.status, 1);
        }
    }
    qInfo() << "all answered in" << timer.elapsed() << "ms";
    QVERIFY2(timer.elapsed() < withinMs, qPrintable(QString::number(timer.elapsed())));

    proxy.thaw();
    endServer();
    routeThrough(nullptr);
}

void TestHeldQueue::terminalConnectedDuringTheOutage()
{
    const int entry = 5;
    stopDatabase();
    TestTerminal terminal;
    connectTerminal(terminal);
    Messages::ContestNameFields names;
    QString error;
    QVERIFY2(TerminalSteps::requestContestNames(terminal, &names, &error), qPrintable(error));
    QVERIFY(names.codes.isEmpty());
    Messages::EnterResponseFields reply;
    QVERIFY2(TerminalSteps::enter(terminal, "C1", QByteArray::number(entry), &reply, &error), qPrintable(error));
    QCOMPARE(reply.status, 1);

    startDatabase();
    QElapsedTimer back;
    back.start();
    QCOMPARE(admitWithin(terminal, entry, ADMITTED_WITHIN_MS), 0);
    qInfo() << "admitted" << back.elapsed() << "ms after the database returned";
}

void TestHeldQueue::admissionReadLost_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<int>("entry");
    // Not "has not passed the theory test" (5).
    QTest::newRow("theory result") << QByteArray("fail@MySqlConnectionClient::getKetQuaSHLyThuyet") << 6;
    QTest::newRow("photo") << QByteArray("fail@MySqlConnectionBase::getAvatarInfoForContestant") << 7;
}

void TestHeldQueue::admissionReadLost()
{
    QFETCH(QByteArray, fault);
    QFETCH(int, entry);
    endServer();
    QProcessEnvironment environment;
    environment.insert("ORV_FAULT_POINT", fault);
    QVERIFY(startServer(environment));
    TestTerminal terminal;
    connectTerminal(terminal);
    Messages::EnterResponseFields reply;
    QString error;
    const QByteArray order = QByteArray::number(entry);
    QVERIFY2(TerminalSteps::enter(terminal, "C1", order, &reply, &error), qPrintable(error));
    QCOMPARE(reply.status, 1);
    QVERIFY2(serverLog().contains("for course \"C1\" order number \"" + order + "\""), serverLog().constData());
    // The read that works again admits it: the fault was the only cause.
    QCOMPARE(admitWithin(terminal, entry, ADMITTED_WITHIN_MS), 0);
    endServer();
}

void TestHeldQueue::writeThatOutlivedItsTimeOutIsStored()
{
    const int entry = 8;
    // Past two read time-outs: the first try and the one on the reopened
    // connection both give up while the first still waits in the database.
    const int heldMs = (2 * IO_TIMEOUT_SECONDS + 3) * 1000;
    setLockWaitSeconds(30);
    TestTerminal terminal;
    admit(terminal, entry, true);
    holdRow(entry);
    QElapsedTimer held;
    held.start();
    sendResult(terminal, entry, 40);
    QVERIFY2(waitForLockWait(2000), serverLog().right(3000).constData());
    QThread::msleep(ulong(qMax<qint64>(0, heldMs - held.elapsed())));
    QVERIFY2(serverLog().contains("MySqlConnectionClient::storeResult lost the database connection"),
             serverLog().constData());
    releaseRow();

    QVERIFY(waitForState(entry, 2));
    QVERIFY(waitForJournalDone());
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 40);
    QCOMPARE(entryField(entry, "ChiTietThi").toInt(), 1);
    verifyChecksum(entry);
    // Said so, as the statement that gave up left it.
    const QByteArray log = serverLog();
    bool said = false;
    for (const QByteArray &line : log.split('\n'))
        said = said || (line.contains("the result of entry " + QByteArray::number(entry) + " arrived at")
                        && line.contains("was stored by an earlier try"));
    QVERIFY2(said, log.constData());
    QVERIFY2(!log.contains("was not stored"), log.constData());
}

void TestHeldQueue::keptInMemoryReachesTheFile()
{
    const int entry = 9;
    // A server whose replay has kept nothing yet, so has no database
    // connection of its own when the database goes.
    endServer();
    QVERIFY(startServer());
    TestTerminal terminal;
    admit(terminal, entry, false);
    QSqlQuery start(admin());
    QVERIFY(start.prepare("UPDATE khoathi_thisinh SET TrangThai = 1, ThoiGianBatDauThi = NOW() WHERE ID = :ID"));
    start.bindValue(":ID", entry);
    QVERIFY2(start.exec(), qPrintable(start.lastError().text()));
    stopDatabase();
    // The journal may not grow by a byte: the disk is full.
    const pid_t pid = pid_t(m_server->processId());
    const rlimit full = {rlim_t(journal().size()), RLIM_INFINITY};
    QCOMPARE(::prlimit(pid, RLIMIT_FSIZE, &full, nullptr), 0);

    sendResult(terminal, entry, 42);
    sync(terminal);
    const QByteArray record = "\tRESULT\t" + QByteArray::number(entry) + "\tC1\t";
    QVERIFY(!journal().contains(record));
    QVERIFY2(serverLog().contains("the result of entry " + QByteArray::number(entry) + " (course \"C1\", order number \""
                                  + QByteArray::number(entry) + "\", score 42) is kept in memory only"),
             serverLog().constData());

    // The disk has room again.
    const rlimit room = {RLIM_INFINITY, RLIM_INFINITY};
    QCOMPARE(::prlimit(pid, RLIMIT_FSIZE, &room, nullptr), 0);
    QElapsedTimer written;
    written.start();
    const QDeadlineTimer deadline(5000);
    while (!journal().contains(record) && !deadline.hasExpired())
        QThread::msleep(50);
    QVERIFY2(journal().contains(record), journal().constData());
    qInfo() << "in the file" << written.elapsed() << "ms after it took writes again";

    // From the file alone.
    ::kill(pid, SIGKILL);
    QVERIFY(m_server->waitForFinished(10000));
    terminal.close();
    startDatabase();
    QVERIFY(startServer());
    QVERIFY(waitForState(entry, 2));
    QVERIFY(waitForJournalDone());
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 42);
    QCOMPARE(entryField(entry, "ChiTietThi").toInt(), 1);
    verifyChecksum(entry);
}

ORV_TEST_MAIN_CORE(TestHeldQueue)
#include "tst_heldqueue.moc"
