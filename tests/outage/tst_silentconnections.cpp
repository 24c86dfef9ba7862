// Connections that never say a word (a port scan, a peer that hangs, a
// flood) cost the server a socket each and no database session: with 1000 of
// them (and 1200) under a desktop's soft limit of 1024 descriptors, which the
// program raises to the hard limit, and with 200 of them
// against a MariaDB at its default max_connections (151), a genuine terminal
// is still admitted and its result stored, and root still logs in to the
// database server. The program's account, as scripts/run makes it, may do
// what its statements do and nothing more, so it never takes the session
// MariaDB keeps for an administrator.
//
// Against the real server process (orv-headless-server) and a MariaDB of the
// suite's own that checks accounts.

#include "tests/support/ownmariadb.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/serverprocess.h"
#include "tests/support/terminalsteps.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/testterminal.h"
#include "tests/support/workfolder.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

#include <memory>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Messages = TestTerminalMessages;

// The program's account, as scripts/run gives it.
const char *const PROGRAM_USER = "orvprog";
const char *const PROGRAM_PASSWORD = "prog-pass";
// MariaDB's default.
const int MAX_CONNECTIONS = 151;
// The server accepts one connection every 10 ms.
const int ALL_ACCEPTED_WITHIN_MS = 120000;

// Connections opened and then left silent; closed with the object.
class SilentPeers
{
public:
    ~SilentPeers()
    {
        for (const int fd : m_fds)
            ::close(fd);
    }

    // Opens `count` connections to the loopback `port` without waiting for
    // them; false when the system refuses a socket.
    bool open(int count, quint16 port)
    {
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        for (int i = 0; i < count; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (fd < 0)
                return false;
            m_fds.push_back(fd);
            if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
                && errno != EINPROGRESS)
                return false;
        }
        return true;
    }

    // Waits until the server has greeted every one of them (its challenge:
    // the connection is accepted and registered); the number greeted.
    int waitUntilGreeted(int timeoutMs)
    {
        std::vector<bool> greeted(m_fds.size(), false);
        int count = 0;
        const QDeadlineTimer deadline(timeoutMs);
        while (count < int(m_fds.size()) && !deadline.hasExpired()) {
            std::vector<pollfd> waiting;
            std::vector<size_t> index;
            for (size_t i = 0; i < m_fds.size(); ++i) {
                if (!greeted[i]) {
                    waiting.push_back(pollfd{m_fds[i], POLLIN, 0});
                    index.push_back(i);
                }
            }
            if (::poll(waiting.data(), waiting.size(), 200) <= 0)
                continue;
            for (size_t k = 0; k < waiting.size(); ++k) {
                if (!(waiting[k].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                char buffer[256];
                // Read, and answered with nothing: the peer stays silent. A
                // connection the server closed is not greeted.
                if (::recv(waiting[k].fd, buffer, sizeof buffer, 0) > 0) {
                    greeted[index[k]] = true;
                    ++count;
                } else {
                    return count;
                }
            }
        }
        return count;
    }

private:
    std::vector<int> m_fds;
};

} // namespace

class TestSilentConnections : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void genuineTerminalServed_data();
    void genuineTerminalServed();
    void programAccountMayOnlyWhatItsStatementsDo_data();
    void programAccountMayOnlyWhatItsStatementsDo();
    void programAccountLeavesRootItsSession();

private:
    QVariant entryField(int id, const QString &column);
    // Sessions the program's account holds on the server.
    int programSessions();
    // Connection attempts the database server has seen since it started.
    int connects();
    // A session of the program's account on `database`; its name is
    // returned for removal.
    QSqlDatabase programSession(const QString &database, QString *name);

    OwnMariaDb m_database{OwnMariaDb::Options{true, MAX_CONNECTIONS}};
    std::unique_ptr<WorkFolder> m_folder;
};

void TestSilentConnections::initTestCase()
{
    // The silent peers' ends are this process's descriptors.
    struct rlimit limit {};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_max < 4096)
        QSKIP("the hard limit of open descriptors is below 4096: 1000 connections cannot be held here");
    limit.rlim_cur = limit.rlim_max;
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &limit), 0);

    QString error;
    QVERIFY2(m_database.start(&error), qPrintable(error));
    m_database.exportToEnvironment();
    m_folder.reset(new WorkFolder("silent"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));

    // The server runs under the program's own account.
    QVERIFY2(m_database.grantAccount("program", PROGRAM_USER, PROGRAM_PASSWORD, &error, m_folder->mainDbName(),
                                     m_folder->auxDbName()),
             qPrintable(error));
    for (const auto &file : {std::make_pair(QString("config/connection_mysql.csv"), m_folder->mainDbName()),
                             std::make_pair(QString("config/aux_connection_mysql.csv"), m_folder->auxDbName())}) {
        const QByteArray config = QString("HOST_NAME:127.0.0.1\nPORT_NUMBER:%1\nMYSQL_DB_NAME:%2\n"
                                          "MYSQL_USERNAME:%3\nMYSQL_PASS:%4\n")
                                      .arg(m_database.port())
                                      .arg(file.second, PROGRAM_USER, PROGRAM_PASSWORD)
                                      .toUtf8();
        QVERIFY(m_folder->writeFile(file.first, config));
    }

    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"D1", "T1", "Trung tâm Một"}}));
    const QStringList seed = {
        "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrungTam, TrangThai) VALUES "
        "('C1', 'Khóa một', 'D1', CURDATE(), 'Trung tâm Một', 2)",
        "INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) VALUES (1, 'Nguyễn Văn A', '1990-05-17', '0123')",
        "INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, LoaiBang) VALUES "
        "(1, 'C1', 1, '1', 0, '1', 'B2'), (2, 'C1', 1, '2', 0, '1', 'B2'), (3, 'C1', 1, '3', 0, '1', 'B2')",
    };
    for (const QString &statement : seed)
        QVERIFY2(TestDb::exec(m_folder->mainAdmin(), statement), qPrintable(statement.left(80)));
}

void TestSilentConnections::cleanupTestCase()
{
    m_folder.reset();
    m_database.stop();
}

QVariant TestSilentConnections::entryField(int id, const QString &column)
{
    return TestDb::scalar(m_folder->mainAdmin(),
                          QString("SELECT %1 FROM khoathi_thisinh WHERE ID = %2").arg(column).arg(id));
}

int TestSilentConnections::programSessions()
{
    QSqlQuery q(m_folder->mainAdmin());
    q.prepare("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE USER = :user");
    q.bindValue(":user", QString(PROGRAM_USER));
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toInt();
}

int TestSilentConnections::connects()
{
    QSqlQuery q(m_folder->mainAdmin());
    if (!q.exec("SHOW GLOBAL STATUS LIKE 'Connections'") || !q.next())
        return -1;
    return q.value(1).toInt();
}

QSqlDatabase TestSilentConnections::programSession(const QString &database, QString *name)
{
    *name = "program-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QSqlDatabase db = QSqlDatabase::addDatabase("QMYSQL", *name);
    db.setHostName("127.0.0.1");
    db.setPort(m_database.port());
    db.setUserName(PROGRAM_USER);
    db.setPassword(PROGRAM_PASSWORD);
    db.setDatabaseName(database);
    db.open();
    return db;
}

void TestSilentConnections::genuineTerminalServed_data()
{
    QTest::addColumn<int>("silent");
    QTest::addColumn<int>("softLimit");
    QTest::addColumn<int>("entry");
    QTest::newRow("1000 silent connections, ulimit -Sn 1024") << 1000 << 1024 << 1;
    // More sockets than the soft limit allows: the program raised it.
    QTest::newRow("1200 silent connections, ulimit -Sn 1024") << 1200 << 1024 << 3;
    QTest::newRow("200 silent connections, max_connections 151") << 200 << 0 << 2;
}

void TestSilentConnections::genuineTerminalServed()
{
    QFETCH(int, silent);
    QFETCH(int, softLimit);
    QFETCH(int, entry);

    ServerProcess server(m_folder->filePath("server.log"));
    server.setWorkingDirectory(m_folder->path());
    server.setSoftDescriptorLimit(softLimit);
    QByteArray said;
    QVERIFY2(server.startUntilReady(ORV_HEADLESS_SERVER, &said), said.constData());

    SilentPeers peers;
    QVERIFY(peers.open(silent, m_folder->port()));
    QCOMPARE(peers.waitUntilGreeted(ALL_ACCEPTED_WITHIN_MS), silent);
    // Held by the server, and none of them holds a database session: the
    // operator's, the journal's and the theory-test database's only.
    QVERIFY2(programSessions() < 10, qPrintable(QString::number(programSessions())));

    // The terminal's first admission opens its session: one connect to the
    // database server, no more.
    const int connectsBefore = connects();
    TestTerminal terminal;
    QVERIFY2(terminal.connectTo("127.0.0.1", m_folder->port()) && terminal.handshake(),
             qPrintable(terminal.errorString()));
    Messages::EnterResponseFields reply;
    QString error;
    QElapsedTimer timer;
    timer.start();
    QVERIFY2(TerminalSteps::enter(terminal, "C1", QByteArray::number(entry), &reply, &error), qPrintable(error));
    const qint64 firstMs = timer.restart();
    QCOMPARE(reply.status, 0);
    QCOMPARE(reply.entryId, entry);
    QCOMPARE(connects() - connectsBefore, 1);
    QVERIFY2(TerminalSteps::enter(terminal, "C1", QByteArray::number(entry), &reply, &error), qPrintable(error));
    const qint64 againMs = timer.elapsed();
    QCOMPARE(reply.status, 0);
    QCOMPARE(connects() - connectsBefore, 1);
    qInfo("first admission %lld ms (its session opened), the next %lld ms", firstMs, againMs);
    QVERIFY(terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(false, entry, false)));
    QVERIFY(terminal.sendEncrypted(Messages::EncryptedContestResult,
                                   Messages::contestResult(40, 35, true, entry, "C1", "1A;2B")));
    Messages::ContestNameFields names;
    QVERIFY2(TerminalSteps::requestContestNames(terminal, &names, &error), qPrintable(error));
    QTRY_COMPARE_WITH_TIMEOUT(entryField(entry, "TrangThai").toInt(), 2, 10000);
    QCOMPARE(entryField(entry, "DiemMoPhong").toInt(), 40);
    QVERIFY(!entryField(entry, "CheckSumKQMP").toString().isEmpty());

    QVERIFY2(m_database.runAsRoot("SELECT 1", &error), qPrintable(error));
    server.endAsByHand(30000);
    QCOMPARE(server.exitStatus(), QProcess::NormalExit);
    QCOMPARE(server.exitCode(), 0);
}

void TestSilentConnections::programAccountMayOnlyWhatItsStatementsDo_data()
{
    QTest::addColumn<bool>("onMain");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("reads the main database") << true << "SELECT COUNT(*) FROM khoathi" << true;
    QTest::newRow("writes the main database") << true << "UPDATE khoathi SET TenKhoaHoc = TenKhoaHoc" << true;
    QTest::newRow("adds and removes rows") << true << "DELETE FROM khoathi WHERE IDKhoaHoc = 'none'" << true;
    QTest::newRow("reads the theory-test database") << false << "SELECT COUNT(*) FROM khoahoc" << true;
    QTest::newRow("writes the theory-test database") << false << "DELETE FROM khoahoc" << false;
    QTest::newRow("changes a table") << true << "ALTER TABLE khoathi ADD COLUMN x INT" << false;
    QTest::newRow("creates a database") << true << "CREATE DATABASE orvprog_own" << false;
    QTest::newRow("drops a table") << true << "DROP TABLE khoathi" << false;
    QTest::newRow("changes the server") << true << "SET GLOBAL max_connections = 1000" << false;
    QTest::newRow("reads another database") << true << "SELECT COUNT(*) FROM mysql.user" << false;
}

void TestSilentConnections::programAccountMayOnlyWhatItsStatementsDo()
{
    QFETCH(bool, onMain);
    QFETCH(QString, statement);
    QFETCH(bool, allowed);
    QString name;
    {
        QSqlDatabase db = programSession(onMain ? m_folder->mainDbName() : m_folder->auxDbName(), &name);
        QVERIFY2(db.isOpen(), qPrintable(db.lastError().text()));
        QSqlQuery query(db);
        const bool ran = query.exec(statement);
        QVERIFY2(ran == allowed, qPrintable(query.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void TestSilentConnections::programAccountLeavesRootItsSession()
{
    // As many sessions as the server gives the program's account: every
    // ordinary one, never the administrator's.
    QStringList names;
    QString refusal;
    for (int i = 0; i <= MAX_CONNECTIONS && refusal.isEmpty(); ++i) {
        QString name;
        const QSqlDatabase db = programSession(m_folder->mainDbName(), &name);
        names << name;
        if (!db.isOpen())
            refusal = db.lastError().text();
    }
    QString error;
    const bool rootIn = m_database.runAsRoot("SELECT 1", &error);
    for (const QString &name : qAsConst(names)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    QVERIFY2(refusal.contains("connections"), qPrintable(refusal));
    QVERIFY2(rootIn, qPrintable(error));
}

ORV_TEST_MAIN_CORE(TestSilentConnections)
#include "tst_silentconnections.moc"
