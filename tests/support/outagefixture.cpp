#include "tests/support/outagefixture.h"

#include "connection/mysqlconnection.h"
#include "records/contestantresultinfo.h"
#include "server/business/resultchecksum.h"
#include "tests/support/loopbackproxy.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/terminalsteps.h"
#include "tests/support/testdb.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

using Messages = TestTerminalMessages;

const char *const ROW_HOLDER = "outage fixture row holder";

} // namespace

const char *const OutageFixture::TIME_FORMAT = "yyyy-MM-dd hh:mm:ss";

OutageFixture::OutageFixture(const QString &suite, int entries, const WorkFolder::Options &options)
    : m_suite(suite), m_entries(entries), m_options(options)
{
    m_options.auxReadOnly = false;
}

OutageFixture::~OutageFixture()
{
    tearDown();
}

void OutageFixture::initTestCase()
{
    QString error;
    QVERIFY2(m_database.start(&error), qPrintable(error));
    m_database.exportToEnvironment();
    m_folder.reset(new WorkFolder(m_suite, m_options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));

    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"D1", "T1", "Trung tâm Một"}}));
    const QStringList seed = {
        "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrungTam, TrangThai) VALUES "
        "('C1', 'Khóa một', 'D1', CURDATE(), 'Trung tâm Một', 2)",
        "INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) VALUES (1, 'Nguyễn Văn A', '1990-05-17', '0123')",
    };
    for (const QString &statement : seed)
        QVERIFY2(TestDb::exec(m_folder->mainAdmin(), statement), qPrintable(statement.left(80)));
    QSqlQuery entry(m_folder->mainAdmin());
    QVERIFY(entry.prepare("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, "
                          "LoaiBang, KetQuaSHLyThuyet) VALUES (:ID, 'C1', 1, :SoBaoDanh, 0, '1', 'B2', 'DAT')"));
    for (int id = 1; id <= m_entries; ++id) {
        entry.bindValue(":ID", id);
        entry.bindValue(":SoBaoDanh", QString::number(id));
        QVERIFY2(entry.exec(), qPrintable(entry.lastError().text()));
    }
    // Kept by the server it starts: a file past its size limit fails its
    // write rather than ending the process.
    ::signal(SIGXFSZ, SIG_IGN);
}

void OutageFixture::cleanupTestCase()
{
    tearDown();
}

void OutageFixture::tearDown()
{
    // Its standard input closed, the server ends as it would by hand.
    if (m_server) {
        m_server->closeWriteChannel();
        m_server->waitForFinished(10000);
    }
    m_server.reset();
    releaseRow();
    m_folder.reset();
    m_database.stop();
}

void OutageFixture::init()
{
    if (!m_database.isRunning())
        startDatabase();
    QFile log(m_folder->filePath("server.log"));
    m_logMark = log.exists() ? log.size() : 0;
    if (!m_server || m_server->state() == QProcess::NotRunning)
        QVERIFY(startServer());
}

void OutageFixture::cleanup()
{
    // A failed case leaves the database as the next one expects it.
    if (!m_database.isRunning())
        startDatabase();
    releaseRow();
    if (m_lockWaitSeconds.isValid()) {
        applyLockWaitSeconds(m_lockWaitSeconds.toInt());
        m_lockWaitSeconds = QVariant();
    }
    if (QTest::currentTestFailed()) {
        endServer();
        routeThrough(nullptr);
    }
}

bool OutageFixture::startServer(const QProcessEnvironment &environment, qint64 fileSizeLimit)
{
    m_server.reset();
    m_server.reset(new ServerProcess(m_folder->filePath("server.log")));
    m_server->setFileSizeLimit(fileSizeLimit);
    m_server->setWorkingDirectory(m_folder->path());
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    all.insert("ORV_DB_IO_TIMEOUT_SECONDS", QString::number(IO_TIMEOUT_SECONDS));
    all.insert(environment);
    m_server->setProcessEnvironment(all);
    QByteArray output;
    if (!m_server->startUntilReady(ORV_HEADLESS_SERVER, &output)) {
        qWarning() << "the server did not start:" << output;
        return false;
    }
    return true;
}

void OutageFixture::endServer()
{
    if (m_server)
        m_server->endAsByHand(20000);
}

QByteArray OutageFixture::serverLog() const
{
    QFile log(m_folder->filePath("server.log"));
    if (!log.open(QIODevice::ReadOnly))
        return QByteArray();
    return log.readAll().mid(int(m_logMark));
}

void OutageFixture::routeThrough(const LoopbackProxy *proxy)
{
    const QString path = "config/connection_mysql.csv";
    QByteArray config = m_folder->readFile(path);
    const int at = config.indexOf("PORT_NUMBER:");
    QVERIFY(at >= 0);
    const int end = config.indexOf('\n', at);
    config.replace(at, end - at, "PORT_NUMBER:" + QByteArray::number(proxy ? proxy->port() : m_database.port()));
    QVERIFY(m_folder->writeFile(path, config));
}

void OutageFixture::connectTerminal(TestTerminal &terminal)
{
    QVERIFY2(terminal.connectTo("127.0.0.1", m_folder->port()) && terminal.handshake(),
             qPrintable(terminal.errorString()));
}

void OutageFixture::admit(TestTerminal &terminal, int order, bool start, const QByteArray &course)
{
    connectTerminal(terminal);
    Messages::EnterResponseFields reply;
    QString error;
    QVERIFY2(TerminalSteps::enter(terminal, course, QByteArray::number(order), &reply, &error), qPrintable(error));
    QCOMPARE(reply.status, 0);
    QCOMPARE(reply.entryId, order);
    if (start) {
        sendStart(terminal, order);
        sync(terminal);
        QCOMPARE(entryField(order, "TrangThai").toInt(), 1);
    }
}

void OutageFixture::sendStart(TestTerminal &terminal, int id)
{
    QVERIFY2(terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(false, id, false)),
             qPrintable(terminal.errorString()));
}

void OutageFixture::sendResult(TestTerminal &terminal, int id, int score, const QByteArray &course,
                               const QByteArray &answers)
{
    QVERIFY2(terminal.sendEncrypted(Messages::EncryptedContestResult,
                                    Messages::contestResult(score, 35, score >= 35, id, course, answers)),
             qPrintable(terminal.errorString()));
}

void OutageFixture::reset(int id)
{
    MySqlConnection connection;
    openMain(connection, "operator");
    QVERIFY(connection.resetContestantResult(id, "C1", "Máy hỏng"));
}

void OutageFixture::sync(TestTerminal &terminal)
{
    Messages::ContestNameFields names;
    QString error;
    QVERIFY2(TerminalSteps::requestContestNames(terminal, &names, &error), qPrintable(error));
}

void OutageFixture::stopDatabase()
{
    QVERIFY(m_database.stop());
}

void OutageFixture::startDatabase()
{
    QString error;
    QVERIFY2(m_database.start(&error), qPrintable(error));
}

void OutageFixture::openMain(MySqlConnection &connection, const QString &name)
{
    const TestDb::Server server = TestDb::server();
    const QSqlError error = connection.initDatabase(name, server.host, server.port, m_folder->mainDbName(),
                                                    server.user, server.password);
    QVERIFY2(!error.isValid(), qPrintable(error.text()));
}

QSqlDatabase OutageFixture::admin()
{
    QSqlDatabase db = m_folder->mainAdmin();
    QSqlQuery probe(db);
    if (!probe.exec("SELECT 1")) {
        db.close();
        db.open();
    }
    return db;
}

QVariant OutageFixture::entryField(int id, const QString &column)
{
    return TestDb::scalar(admin(), QString("SELECT %1 FROM khoathi_thisinh WHERE ID = %2").arg(column).arg(id));
}

bool OutageFixture::waitForState(int id, int state)
{
    const QDeadlineTimer deadline(STORED_WITHIN_MS);
    while (!deadline.hasExpired()) {
        if (entryField(id, "TrangThai").toInt() == state)
            return true;
        QThread::msleep(100);
    }
    return false;
}

void OutageFixture::verifyChecksum(int id)
{
    MySqlConnection connection;
    openMain(connection, "verify");
    // The checksum follows the stored result by a statement of its own.
    QString checksum;
    const QDeadlineTimer deadline(STORED_WITHIN_MS);
    while ((checksum = entryField(id, "CheckSumKQMP").toString()).isEmpty() && !deadline.hasExpired())
        QThread::msleep(100);
    QVERIFY2(!checksum.isEmpty(), qPrintable(QString("entry %1 has no checksum").arg(id)));
    const ContestantResultInfo stored = connection.getContestantResultInfo(id);
    QVERIFY(ResultChecksum::verify(checksum, stored, QDateTime(QDate::currentDate(), QTime(0, 0))));
}

QByteArray OutageFixture::journal() const
{
    QFile file(m_folder->filePath("terminal_journal.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool OutageFixture::waitForJournalDone()
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

void OutageFixture::holdRow(int id)
{
    m_rowHolder = QSqlDatabase::cloneDatabase(admin(), ROW_HOLDER);
    QVERIFY(m_rowHolder.open());
    QVERIFY(m_rowHolder.transaction());
    QSqlQuery hold(m_rowHolder);
    QVERIFY(hold.prepare("SELECT * FROM khoathi_thisinh WHERE ID = :ID FOR UPDATE"));
    hold.bindValue(":ID", id);
    QVERIFY2(hold.exec(), qPrintable(hold.lastError().text()));
}

void OutageFixture::releaseRow()
{
    if (!m_rowHolder.isValid())
        return;
    if (m_rowHolder.isOpen()) {
        m_rowHolder.rollback();
        m_rowHolder.close();
    }
    m_rowHolder = QSqlDatabase();
    QSqlDatabase::removeDatabase(ROW_HOLDER);
}

bool OutageFixture::waitForLockWait(int waitMs)
{
    const QDeadlineTimer deadline(waitMs);
    do {
        // The waiting statement's session, as the server lists it (the
        // transactions' table leaves it out while it waits).
        if (TestDb::count(admin(), "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE "
                                   "INFO LIKE 'UPDATE khoathi_thisinh %' AND STATE = 'Searching rows for update'")
            > 0)
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

void OutageFixture::setLockWaitSeconds(int seconds)
{
    if (!m_lockWaitSeconds.isValid())
        m_lockWaitSeconds = TestDb::scalar(admin(), "SELECT @@GLOBAL.innodb_lock_wait_timeout");
    QVERIFY(m_lockWaitSeconds.isValid());
    applyLockWaitSeconds(seconds);
}

void OutageFixture::applyLockWaitSeconds(int seconds)
{
    QSqlQuery set(admin());
    QVERIFY(set.prepare("SET GLOBAL innodb_lock_wait_timeout = :Seconds"));
    set.bindValue(":Seconds", seconds);
    QVERIFY2(set.exec(), qPrintable(set.lastError().text()));
}
