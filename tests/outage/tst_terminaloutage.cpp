// Terminals keep sending while the main database is away: the server (the
// real process, without its window) keeps their starts and results and
// stores them when the database is back on the same port, with the times
// they arrived and a checksum that verifies; also after the server was ended
// by a signal meanwhile, and never twice.

#include "connection/mysqlconnection.h"
#include "records/contestantresultinfo.h"
#include "server/business/resultchecksum.h"
#include "tests/support/ownmariadb.h"
#include "tests/support/terminalsteps.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/testterminal.h"
#include "tests/support/workfolder.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <signal.h>
#include <memory>

namespace {

using Messages = TestTerminalMessages;

const char *const TIME_FORMAT = "yyyy-MM-dd hh:mm:ss";
// A kept write is tried again every 5 s; a little more for the database's
// own start.
const int STORED_WITHIN_MS = 15000;

} // namespace

class TestTerminalOutage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void resultStoredAfterTheReturn();
    void startAndResultInOrder();
    void resultSurvivesTheServerEnding_data();
    void resultSurvivesTheServerEnding();
    void sameResultTwiceStoredOnce();

private:
    bool startServer();
    // Connects, answers the handshake, has order number `order` admitted
    // and, when `start`, starts its test while the database is there.
    void admit(TestTerminal &terminal, int order, bool start);
    void sendStart(TestTerminal &terminal, int id);
    void sendResult(TestTerminal &terminal, int id, int score);
    // Every earlier message of the terminal has been handled once the
    // course list is answered.
    void sync(TestTerminal &terminal);
    void stopDatabase();
    void startDatabase();
    // A field of entry `id`, read afresh (the admin session does not
    // outlive a stop of the database).
    QVariant entryField(int id, const QString &column);
    // Waits until entry `id` is in `state`.
    bool waitForState(int id, int state);
    void verifyChecksum(int id);
    QByteArray journal() const;
    // Waits until every record of the journal is marked done.
    bool waitForJournalDone();

    OwnMariaDb m_database;
    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<QProcess> m_server;
};

void TestTerminalOutage::initTestCase()
{
    QString error;
    QVERIFY2(m_database.start(&error), qPrintable(error));
    m_database.exportToEnvironment();
    WorkFolder::Options options;
    // No account can be made on a server without its grant tables.
    options.auxReadOnly = false;
    m_folder.reset(new WorkFolder("outage", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));

    const QStringList seed = {
        "INSERT INTO tinh (IDTinh, TenTinh) VALUES ('T1', 'Hà Nội')",
        "INSERT INTO donvi (IDDonVi, IDTinh, TenDonVi) VALUES ('D1', 'T1', 'Trung tâm Một')",
        "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrungTam, TrangThai) VALUES "
        "('C1', 'Khóa một', 'D1', CURDATE(), 'Trung tâm Một', 2)",
        "INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) VALUES (1, 'Nguyễn Văn A', '1990-05-17', '0123')",
        "INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, LoaiBang) VALUES "
        "(1, 'C1', 1, '1', 0, '1', 'B2'), (2, 'C1', 1, '2', 0, '1', 'B2'), (3, 'C1', 1, '3', 0, '1', 'B2'), "
        "(4, 'C1', 1, '4', 0, '1', 'B2'), (5, 'C1', 1, '5', 0, '1', 'B2')",
    };
    for (const QString &statement : seed)
        QVERIFY2(TestDb::exec(m_folder->mainAdmin(), statement), qPrintable(statement.left(80)));
}

void TestTerminalOutage::cleanupTestCase()
{
    // Its standard input closed, the server ends as it would by hand.
    if (m_server) {
        m_server->closeWriteChannel();
        m_server->waitForFinished(10000);
    }
    m_server.reset();
    m_folder.reset();
    m_database.stop();
}

void TestTerminalOutage::init()
{
    if (!m_database.isRunning())
        startDatabase();
    if (!m_server || m_server->state() == QProcess::NotRunning)
        QVERIFY(startServer());
}

void TestTerminalOutage::cleanup()
{
    // A failed case leaves the database as the next one expects it.
    if (!m_database.isRunning())
        startDatabase();
}

bool TestTerminalOutage::startServer()
{
    m_server.reset(new QProcess);
    m_server->setWorkingDirectory(m_folder->path());
    m_server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server->start(ORV_HEADLESS_SERVER, QStringList());
    QByteArray output;
    while (!output.contains('\n') && m_server->waitForReadyRead(30000))
        output += m_server->readAllStandardOutput();
    if (!output.startsWith("ready")) {
        qWarning() << "the server did not start:" << output;
        return false;
    }
    return true;
}

void TestTerminalOutage::admit(TestTerminal &terminal, int order, bool start)
{
    QVERIFY2(terminal.connectTo("127.0.0.1", m_folder->port()) && terminal.handshake(),
             qPrintable(terminal.errorString()));
    Messages::EnterResponseFields reply;
    QString error;
    QVERIFY2(TerminalSteps::enter(terminal, "C1", QByteArray::number(order), &reply, &error), qPrintable(error));
    QCOMPARE(reply.status, 0);
    QCOMPARE(reply.entryId, order);
    if (start) {
        sendStart(terminal, order);
        sync(terminal);
        QCOMPARE(entryField(order, "TrangThai").toInt(), 1);
    }
}

void TestTerminalOutage::sendStart(TestTerminal &terminal, int id)
{
    QVERIFY2(terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(false, id, false)),
             qPrintable(terminal.errorString()));
}

void TestTerminalOutage::sendResult(TestTerminal &terminal, int id, int score)
{
    QVERIFY2(terminal.sendEncrypted(Messages::EncryptedContestResult,
                                    Messages::contestResult(score, 35, score >= 35, id, "C1", "1A;2B;3C")),
             qPrintable(terminal.errorString()));
}

void TestTerminalOutage::sync(TestTerminal &terminal)
{
    Messages::ContestNameFields names;
    QString error;
    QVERIFY2(TerminalSteps::requestContestNames(terminal, &names, &error), qPrintable(error));
}

void TestTerminalOutage::stopDatabase()
{
    QVERIFY(m_database.stop());
}

void TestTerminalOutage::startDatabase()
{
    QString error;
    QVERIFY2(m_database.start(&error), qPrintable(error));
}

QVariant TestTerminalOutage::entryField(int id, const QString &column)
{
    QSqlDatabase db = m_folder->mainAdmin();
    QSqlQuery probe(db);
    if (!probe.exec("SELECT 1")) {
        db.close();
        db.open();
    }
    return TestDb::scalar(db, QString("SELECT %1 FROM khoathi_thisinh WHERE ID = %2").arg(column).arg(id));
}

bool TestTerminalOutage::waitForState(int id, int state)
{
    const QDeadlineTimer deadline(STORED_WITHIN_MS);
    while (!deadline.hasExpired()) {
        if (entryField(id, "TrangThai").toInt() == state)
            return true;
        QThread::msleep(100);
    }
    return false;
}

void TestTerminalOutage::verifyChecksum(int id)
{
    MySqlConnection connection;
    const TestDb::Server server = TestDb::server();
    const QSqlError error = connection.initDatabase("verify", server.host, server.port, m_folder->mainDbName(),
                                                    server.user, server.password);
    QVERIFY2(!error.isValid(), qPrintable(error.text()));
    const ContestantResultInfo stored = connection.getContestantResultInfo(id);
    const QString checksum = entryField(id, "CheckSumKQMP").toString();
    QVERIFY(!checksum.isEmpty());
    QVERIFY(ResultChecksum::verify(checksum, stored, QDateTime(QDate::currentDate(), QTime(0, 0))));
}

QByteArray TestTerminalOutage::journal() const
{
    QFile file(m_folder->filePath("terminal_journal.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestTerminalOutage::waitForJournalDone()
{
    const QDeadlineTimer deadline(STORED_WITHIN_MS);
    while (!deadline.hasExpired()) {
        const QByteArray lines = journal();
        if (lines.count('\n') == 2 * lines.count("\tDONE\n"))
            return true;
        QThread::msleep(100);
    }
    return false;
}

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

ORV_TEST_MAIN_CORE(TestTerminalOutage)
#include "tst_terminaloutage.moc"
