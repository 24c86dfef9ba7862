// Terminals keep sending while the main database is away: the server (the
// real process, without its window) keeps their starts and results and
// stores them when the database is back on the same port, with the times
// they arrived and a checksum that verifies; also after the server was ended
// by a signal meanwhile, and never twice. A loss at the result's write
// itself (the server killed just before or after it, its reply lost, the
// read before it failing) leaves the result unstored then stored, or stored,
// and sealed with a checksum that verifies either way; a journal that cannot
// be written, a row locked elsewhere and a cut network keep the result; an
// old result never lands in a later sitting, and a result belongs to the
// sitting its own connection began. A course code typed in another case or
// width, answers the database could not take as sent, and texts that would
// break the log's lines are borne.

#include "tests/support/loopbackproxy.h"
#include "tests/support/outagefixture.h"
#include "tests/support/terminalsteps.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/testterminal.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <signal.h>
#include <sys/resource.h>

namespace {

using Messages = TestTerminalMessages;

// The entries the cases use, each its own.
const int ENTRIES = 40;
// The text in the answers column (TEXT) holds at most this many bytes.
const int ANSWERS_COLUMN_BYTES = 65535;

} // namespace

class TestTerminalOutage : public OutageFixture
{
    Q_OBJECT

public:
    TestTerminalOutage() : OutageFixture("outage", ENTRIES) {}

private slots:
    void resultStoredAfterTheReturn();
    void startAndResultInOrder();
    void resultSurvivesTheServerEnding_data();
    void resultSurvivesTheServerEnding();
    void sameResultTwiceStoredOnce();
    void faultAtTheResult_data();
    void faultAtTheResult();
    void journalFullKeepsTheResultInMemory();
    void lockedRowKeepsTheResult();
    void oldResultRefusedInALaterSitting();
    void admissionDuringTheOutage();
    void cutNetworkFoundWithinTheTimeout();
    void courseCodeAsTyped_data();
    void courseCodeAsTyped();
    void lateResultOfAResetSitting();
    void startTwiceDuringTheOutage();
    void keptWritesNeverReviveAResetEntry();
    void answersStoredWhatever_data();
    void answersStoredWhatever();
    void peerTextsKeepTheLogsLines();
};

void TestTerminalOutage::resultStoredAfterTheReturn()
{
    TestTerminal terminal;
    admit(terminal, 1, true);
    stopDatabase();

    const QDateTime sent = QDateTime::currentDateTime().addMSecs(-1000);
    sendResult(terminal, 1, 40);
    sync(terminal);
    const QDateTime handled = QDateTime::currentDateTime();
    QVERIFY(journal().contains("\tRESULT\t1\tC1\t"));

    QThread::msleep(1500);
    startDatabase();
    QVERIFY(waitForState(1, 2));
    const QDateTime stored = entryField(1, "ThoiGianKetThucThi").toDateTime();
    QVERIFY2(stored >= sent.addMSecs(-sent.time().msec()) && stored <= handled,
             qPrintable(stored.toString(TIME_FORMAT)));
    QCOMPARE(entryField(1, "DiemMoPhong").toInt(), 40);
    QCOMPARE(entryField(1, "KetQuaMoPhong").toString(), QString("DAT"));
    QCOMPARE(entryField(1, "TraLoiMoPhong").toString(), QString("1A;2B;3C"));
    verifyChecksum(1);
}

void TestTerminalOutage::startAndResultInOrder()
{
    TestTerminal terminal;
    admit(terminal, 2, false);
    stopDatabase();

    const QDateTime before = QDateTime::currentDateTime().addMSecs(-1000);
    sendStart(terminal, 2);
    sync(terminal);
    // The two arrive in different seconds.
    QThread::msleep(1100);
    sendResult(terminal, 2, 20);
    sync(terminal);
    const QDateTime after = QDateTime::currentDateTime();

    startDatabase();
    QVERIFY(waitForState(2, 2));
    const QDateTime started = entryField(2, "ThoiGianBatDauThi").toDateTime();
    const QDateTime ended = entryField(2, "ThoiGianKetThucThi").toDateTime();
    QVERIFY2(started >= before.addMSecs(-before.time().msec()) && started < ended && ended <= after,
             qPrintable(started.toString(TIME_FORMAT) + " / " + ended.toString(TIME_FORMAT)));
    QCOMPARE(entryField(2, "KetQuaMoPhong").toString(), QString("KHONG DAT"));
    QCOMPARE(entryField(2, "ChiTietThi").toInt(), 1);
    verifyChecksum(2);
}

void TestTerminalOutage::resultSurvivesTheServerEnding_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("entry");
    QTest::newRow("SIGTERM") << int(SIGTERM) << 3;
    QTest::newRow("SIGKILL") << int(SIGKILL) << 4;
}

void TestTerminalOutage::resultSurvivesTheServerEnding()
{
    QFETCH(int, signal);
    QFETCH(int, entry);
    TestTerminal terminal;
    admit(terminal, entry, true);
    stopDatabase();

    const QDateTime sent = QDateTime::currentDateTime().addMSecs(-1000);
    sendResult(terminal, entry, 45);
    sync(terminal);
    const QDateTime handled = QDateTime::currentDateTime();

    ::kill(pid_t(m_server->processId()), signal);
    QVERIFY(m_server->waitForFinished(10000));
    terminal.close();

    startDatabase();
    QThread::msleep(500);
    // Nothing stored it while no server ran.
    QCOMPARE(entryField(entry, "TrangThai").toInt(), 1);
    QVERIFY(startServer());
    QVERIFY(waitForState(entry, 2));
    const QDateTime stored = entryField(entry, "ThoiGianKetThucThi").toDateTime();
    QVERIFY2(stored >= sent.addMSecs(-sent.time().msec()) && stored <= handled,
             qPrintable(stored.toString(TIME_FORMAT)));
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 45);
    verifyChecksum(entry);
}

void TestTerminalOutage::sameResultTwiceStoredOnce()
{
    TestTerminal terminal;
    admit(terminal, 5, true);
    stopDatabase();
    sendResult(terminal, 5, 40);
    sendResult(terminal, 5, 40);
    sync(terminal);

    startDatabase();
    QVERIFY(waitForState(5, 2));
    // Both were tried, the second refused by the entry's state.
    QVERIFY(waitForJournalDone());
    QCOMPARE(entryField(5, "ChiTietThi").toInt(), 1);
    QCOMPARE(entryField(5, "DiemMoPhong").toInt(), 40);

    // A result that arrives now is still refused.
    sendResult(terminal, 5, 10);
    sync(terminal);
    QCOMPARE(entryField(5, "ChiTietThi").toInt(), 1);
    QCOMPARE(entryField(5, "DiemMoPhong").toInt(), 40);
    verifyChecksum(5);
}

void TestTerminalOutage::faultAtTheResult_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("entry");
    // Whether the result is in the database when the fault has struck.
    QTest::addColumn<bool>("storedAtOnce");
    QTest::newRow("killed just before the write") << "kill-before@MySqlConnectionClient::storeResult" << 6 << false;
    QTest::newRow("killed just after the write") << "kill-after@MySqlConnectionClient::storeResult" << 7 << true;
    QTest::newRow("reply lost after the commit") << "lose-reply@MySqlConnectionClient::storeResult" << 8 << true;
    QTest::newRow("read before the write fails") << "fail@MySqlConnectionClient::readResultBasis" << 9 << false;
}

void TestTerminalOutage::faultAtTheResult()
{
    QFETCH(QString, fault);
    QFETCH(int, entry);
    QFETCH(bool, storedAtOnce);
    endServer();
    QProcessEnvironment environment;
    environment.insert("ORV_FAULT_POINT", fault);
    QVERIFY(startServer(environment));
    TestTerminal terminal;
    admit(terminal, entry, true);

    sendResult(terminal, entry, 40);
    const bool kills = fault.startsWith("kill");
    if (kills) {
        QVERIFY(m_server->waitForFinished(10000));
        QCOMPARE(m_server->exitStatus(), QProcess::CrashExit);
        terminal.close();
    } else {
        sync(terminal);
    }
    // Both or neither: never a result without its seal.
    QCOMPARE(entryField(entry, "TrangThai").toInt(), storedAtOnce ? 2 : 1);
    QCOMPARE(entryField(entry, "CheckSumKQMP").isNull(), !storedAtOnce);

    if (kills)
        QVERIFY(startServer());
    QVERIFY(waitForState(entry, 2));
    QVERIFY(waitForJournalDone());
    QCOMPARE(entryField(entry, "ChiTietThi").toInt(), 1);
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 40);
    verifyChecksum(entry);
    // Stored is said so, also when the first try's reply was lost.
    QVERIFY2(!serverLog().contains("was not stored"), serverLog().constData());
    endServer();
}

void TestTerminalOutage::journalFullKeepsTheResultInMemory()
{
    const int entry = 10;
    TestTerminal terminal;
    admit(terminal, entry, true);
    stopDatabase();
    // The journal may not grow by a byte: the disk is full.
    const rlimit full = {rlim_t(journal().size()), RLIM_INFINITY};
    QCOMPARE(::prlimit(pid_t(m_server->processId()), RLIMIT_FSIZE, &full, nullptr), 0);

    sendResult(terminal, entry, 41);
    sync(terminal);
    QVERIFY(!journal().contains(QByteArray("\tRESULT\t") + QByteArray::number(entry)));
    const QByteArray line = "the result of entry " + QByteArray::number(entry)
                            + " (course \"C1\", order number \"" + QByteArray::number(entry) + "\", score 41)";

    QThread::msleep(1500);
    startDatabase();
    QVERIFY(waitForState(entry, 2));
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 41);
    verifyChecksum(entry);
    QCOMPARE(serverLog().count(line), 1);
    endServer();
}

void TestTerminalOutage::lockedRowKeepsTheResult()
{
    const int entry = 11;
    // The server's write waits one second for the row, not fifty (and not
    // past its read time-out): its terminal's session, opened from now on,
    // takes it.
    QCOMPARE(entryField(entry, "TrangThai").toInt(), 0);
    QVERIFY(TestDb::exec(m_folder->mainAdmin(), "SET GLOBAL innodb_lock_wait_timeout = 1"));
    TestTerminal terminal;
    admit(terminal, entry, true);
    holdRow(entry);

    sendResult(terminal, entry, 42);
    sync(terminal);
    QThread::msleep(500);
    QCOMPARE(entryField(entry, "TrangThai").toInt(), 1);
    QVERIFY2(serverLog().contains("is kept and tried again"), serverLog().right(3000).constData());

    releaseRow();
    QVERIFY(waitForState(entry, 2));
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 42);
    QCOMPARE(entryField(entry, "ChiTietThi").toInt(), 1);
    verifyChecksum(entry);
}

void TestTerminalOutage::oldResultRefusedInALaterSitting()
{
    const int entry = 12;
    TestTerminal terminal;
    admit(terminal, entry, true);
    const QDateTime first = entryField(entry, "ThoiGianBatDauThi").toDateTime();
    stopDatabase();
    sendResult(terminal, entry, 43);
    sync(terminal);
    ::kill(pid_t(m_server->processId()), SIGKILL);
    QVERIFY(m_server->waitForFinished(10000));
    terminal.close();

    // Meanwhile the operator reset the entry and the candidate sat again.
    startDatabase();
    QCOMPARE(entryField(entry, "TrangThai").toInt(), 1);
    QThread::msleep(1100);
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime second = now.addMSecs(-now.time().msec());
    QVERIFY(TestDb::exec(m_folder->mainAdmin(),
                         QString("UPDATE khoathi_thisinh SET TrangThai = 1, ThoiGianBatDauThi = '%1' WHERE ID = %2")
                             .arg(second.toString(TIME_FORMAT))
                             .arg(entry)));
    QVERIFY(startServer());
    QVERIFY(waitForJournalDone());
    QCOMPARE(entryField(entry, "TrangThai").toInt(), 1);
    QVERIFY(entryField(entry, "ThoiGianKetThucThi").isNull());
    QCOMPARE(entryField(entry, "ThoiGianBatDauThi").toDateTime(), second);
    QVERIFY2(serverLog().contains("belongs to the sitting"), serverLog().constData());

    // The new sitting's own result is stored.
    TestTerminal again;
    QVERIFY2(again.connectTo("127.0.0.1", m_folder->port()) && again.handshake(), qPrintable(again.errorString()));
    sendResult(again, entry, 30);
    sync(again);
    QVERIFY(waitForState(entry, 2));
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 30);
    QCOMPARE(entryField(entry, "ChiTietThi").toInt(), 1);
    verifyChecksum(entry);
}

void TestTerminalOutage::admissionDuringTheOutage()
{
    TestTerminal before;
    QVERIFY2(before.connectTo("127.0.0.1", m_folder->port()) && before.handshake(), qPrintable(before.errorString()));
    sync(before);
    stopDatabase();
    TestTerminal during;
    QVERIFY2(during.connectTo("127.0.0.1", m_folder->port()) && during.handshake(), qPrintable(during.errorString()));

    struct Ask { TestTerminal *terminal; QByteArray order; };
    for (const Ask &ask : {Ask{&before, "13"}, Ask{&during, "14"}}) {
        Messages::EnterResponseFields reply;
        QString error;
        QVERIFY2(TerminalSteps::enter(*ask.terminal, "C1", ask.order, &reply, &error), qPrintable(error));
        // "No database connection", not "course not running".
        QCOMPARE(reply.status, 1);
        QVERIFY2(serverLog().contains("for course \"C1\" order number \"" + ask.order + "\""),
                 serverLog().constData());
    }
}

void TestTerminalOutage::cutNetworkFoundWithinTheTimeout()
{
    endServer();
    LoopbackProxy proxy;
    QVERIFY(proxy.start(m_database.port()));
    routeThrough(&proxy);
    QVERIFY(startServer());
    TestTerminal first;
    TestTerminal second;
    admit(first, 15, true);
    admit(second, 16, true);

    proxy.freeze();
    QElapsedTimer timer;
    timer.start();
    sendResult(first, 15, 44);
    Messages::ContestNameFields names;
    QString error;
    // One read time-out, then a connect time-out for the reopening.
    QVERIFY2(TerminalSteps::requestContestNames(first, &names, &error, 60000), qPrintable(error));
    QVERIFY2(timer.elapsed() < 40000, qPrintable(QString::number(timer.elapsed())));
    // Known to be away: the next terminal waits for no statement.
    timer.restart();
    sendResult(second, 16, 45);
    sync(second);
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(entryField(15, "TrangThai").toInt(), 1);
    QCOMPARE(entryField(16, "TrangThai").toInt(), 1);

    proxy.thaw();
    const QDeadlineTimer deadline(60000);
    while (entryField(16, "TrangThai").toInt() != 2 && !deadline.hasExpired())
        QThread::msleep(200);
    QVERIFY(waitForState(15, 2));
    QVERIFY(waitForState(16, 2));
    verifyChecksum(15);
    verifyChecksum(16);
    endServer();
    routeThrough(nullptr);
}

void TestTerminalOutage::courseCodeAsTyped_data()
{
    QTest::addColumn<QByteArray>("course");
    QTest::addColumn<int>("entry");
    // As the database compares them, these are all "C1".
    QTest::newRow("lower case") << QByteArray("c1") << 21;
    QTest::newRow("trailing space") << QByteArray("C1 ") << 22;
    QTest::newRow("full width") << QString("Ｃ１").toUtf8() << 23;
}

void TestTerminalOutage::courseCodeAsTyped()
{
    QFETCH(QByteArray, course);
    QFETCH(int, entry);
    TestTerminal terminal;
    // The terminal sends back the code its candidate typed.
    admit(terminal, entry, true, course);
    sendResult(terminal, entry, 40, course);
    sync(terminal);
    QCOMPARE(entryField(entry, "TrangThai").toInt(), 2);
    QCOMPARE(entryField(entry, "IDKhoaHoc").toString(), QString("C1"));
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 40);
    verifyChecksum(entry);
    // Named as stored from the match on.
    QVERIFY2(!serverLog().contains("is not stored"), serverLog().constData());
}

void TestTerminalOutage::lateResultOfAResetSitting()
{
    const int entry = 24;
    TestTerminal failed;
    admit(failed, entry, true);
    // Its terminal broke down: the operator resets the entry and the
    // candidate sits again on another terminal.
    QThread::msleep(1100);
    reset(entry);
    TestTerminal other;
    admit(other, entry, true);
    const QDateTime second = entryField(entry, "ThoiGianBatDauThi").toDateTime();

    sendResult(failed, entry, 10);
    sync(failed);
    QCOMPARE(entryField(entry, "TrangThai").toInt(), 1);
    QVERIFY(entryField(entry, "DiemMoPhong").toInt() != 10);
    QVERIFY2(serverLog().contains("belongs to the sitting"), serverLog().constData());

    sendResult(other, entry, 41);
    sync(other);
    QCOMPARE(entryField(entry, "TrangThai").toInt(), 2);
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 41);
    QCOMPARE(entryField(entry, "ThoiGianBatDauThi").toDateTime(), second);
    verifyChecksum(entry);
}

void TestTerminalOutage::startTwiceDuringTheOutage()
{
    const int entry = 25;
    TestTerminal terminal;
    admit(terminal, entry, false);
    stopDatabase();
    sendStart(terminal, entry);
    sync(terminal);
    // The second in another second: its time is not the sitting's.
    QThread::msleep(1100);
    sendStart(terminal, entry);
    sync(terminal);
    QThread::msleep(1100);
    sendResult(terminal, entry, 42);
    sync(terminal);

    startDatabase();
    QVERIFY(waitForState(entry, 2));
    QVERIFY(waitForJournalDone());
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 42);
    QCOMPARE(entryField(entry, "ChiTietThi").toInt(), 1);
    verifyChecksum(entry);
}

void TestTerminalOutage::keptWritesNeverReviveAResetEntry()
{
    const int started = 26;
    const int resumed = 27;
    endServer();
    // What a journal that could not be marked keeps: a start and a result
    // without its sitting (as an older version wrote it), both of an hour
    // ago.
    const QString old = QDateTime::currentDateTime().addSecs(-3600).toString(TIME_FORMAT);
    const QByteArray lines = "1\tSTART\t" + QByteArray::number(started) + "\t" + old.toUtf8() + "\n"
                             + "2\tRESULT\t" + QByteArray::number(resumed) + "\tC1\t" + old.toUtf8()
                             + "\t12\t35\t0\t1A\n";
    QVERIFY(m_folder->writeFile("terminal_journal.txt", lines));
    // Since then both were reset; the second candidate sits again.
    const QString resetAt = QDateTime::currentDateTime().addSecs(-60).toString("dd/MM/yyyy hh:mm:ss");
    const QString sitting = QDateTime::currentDateTime().addSecs(-30).toString(TIME_FORMAT);
    QVERIFY(TestDb::exec(m_folder->mainAdmin(),
                         QString("UPDATE khoathi_thisinh SET TrangThai = 0, GhiChu = '%1#Máy hỏng' WHERE ID = %2")
                             .arg(resetAt)
                             .arg(started)));
    QVERIFY(TestDb::exec(m_folder->mainAdmin(),
                         QString("UPDATE khoathi_thisinh SET TrangThai = 1, ThoiGianBatDauThi = '%1', "
                                 "GhiChu = '%2#Máy hỏng' WHERE ID = %3")
                             .arg(sitting, resetAt)
                             .arg(resumed)));

    // The journal cannot grow: no record is ever marked done, and each
    // start of the server tries both again.
    for (int run = 0; run < 2; ++run) {
        QVERIFY(startServer(QProcessEnvironment(), lines.size()));
        const QDeadlineTimer deadline(STORED_WITHIN_MS);
        while (!deadline.hasExpired()
               && !(serverLog().contains("after its start arrived") && serverLog().contains("after its result arrived")))
            QThread::msleep(100);
        QVERIFY2(serverLog().contains("after its start arrived"), serverLog().constData());
        QVERIFY2(serverLog().contains("after its result arrived"), serverLog().constData());
        QCOMPARE(entryField(started, "TrangThai").toInt(), 0);
        QVERIFY(entryField(started, "ThoiGianBatDauThi").isNull());
        QCOMPARE(entryField(resumed, "TrangThai").toInt(), 1);
        QCOMPARE(entryField(resumed, "ThoiGianBatDauThi").toDateTime().toString(TIME_FORMAT), sitting);
        QVERIFY(entryField(resumed, "ThoiGianKetThucThi").isNull());
        QVERIFY(journal().contains("\tSTART\t" + QByteArray::number(started)));
        endServer();
        m_logMark = QFile(m_folder->filePath("server.log")).size();
    }
    QVERIFY(startServer());
    // The reset entry is admitted again, not "in the examination".
    TestTerminal terminal;
    admit(terminal, started, false);
    QVERIFY(waitForJournalDone());
}

void TestTerminalOutage::answersStoredWhatever_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("stored");
    const QByteArray replacement = QString(QChar(0xFFFD)).toUtf8();
    QTest::newRow("4-byte character") << 28 << QString("1A;2B;3\U0001F600").toUtf8()
                                      << QString("1A;2B;3\U0001F600").toUtf8();
    QTest::newRow("NUL") << 29 << QByteArray("1A;\0002B", 6) << QByteArray("1A;2B");
    QTest::newRow("invalid UTF-8") << 30 << QByteArray("1A;\xff" "2B") << "1A;" + replacement + "2B";
    // Each byte read as a 3-byte U+FFFD: cut to what the column holds, on a
    // character.
    QTest::newRow("invalid bytes past the column") << 31 << QByteArray(30000, '\xff')
                                                   << replacement.repeated(ANSWERS_COLUMN_BYTES / 3);
    // The last character would end past the column: left out whole.
    QTest::newRow("a 4-byte character across the column's end")
        << 32 << QByteArray(ANSWERS_COLUMN_BYTES / 3 - 1, '\xff') + QString("\U0001F600").toUtf8()
        << replacement.repeated(ANSWERS_COLUMN_BYTES / 3 - 1);
}

void TestTerminalOutage::answersStoredWhatever()
{
    QFETCH(int, entry);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, stored);
    TestTerminal terminal;
    admit(terminal, entry, true);
    sendResult(terminal, entry, 43, "C1", sent);
    sync(terminal);
    QCOMPARE(entryField(entry, "TrangThai").toInt(), 2);
    // Compared as bytes: the test's own session speaks the driver's choice.
    QCOMPARE(QByteArray::fromHex(entryField(entry, "HEX(TraLoiMoPhong)").toByteArray()), stored);
    verifyChecksum(entry);
    if (stored.size() + 3 >= ANSWERS_COLUMN_BYTES || sent.contains('\0'))
        QVERIFY2(serverLog().contains("the answers of entry " + QByteArray::number(entry)), serverLog().constData());
}

void TestTerminalOutage::peerTextsKeepTheLogsLines()
{
    TestTerminal terminal;
    QVERIFY2(terminal.connectTo("127.0.0.1", m_folder->port()) && terminal.handshake(),
             qPrintable(terminal.errorString()));
    const QByteArray forged = "2026-01-01 00:00:00 [critical] forged line";
    const QByteArray orders[] = {"33\n" + forged, "33\r\n" + forged, QByteArray(60000, '7')};
    for (const QByteArray &order : orders) {
        Messages::EnterResponseFields reply;
        QString error;
        QVERIFY2(TerminalSteps::enter(terminal, "C1", order, &reply, &error), qPrintable(error));
        QCOMPARE(reply.status, 1);
    }
    const QByteArray log = serverLog();
    QVERIFY(log.contains("\\n" + forged));
    for (const QByteArray &line : log.split('\n'))
        QVERIFY2(!line.trimmed().startsWith(forged.left(10)), line.constData());
    // A few hundred characters of the long one, not all of it.
    QVERIFY(log.contains("(60000 characters)"));
    QVERIFY2(log.size() < 16384, QByteArray::number(log.size()).constData());
}

ORV_TEST_MAIN_CORE(TestTerminalOutage)
#include "tst_terminaloutage.moc"
