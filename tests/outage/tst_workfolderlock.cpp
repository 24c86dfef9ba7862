// One server per working folder, as the real process (orv-headless-server)
// lives it: a second start beside a running one touches nothing and ends
// with status 1; a start after the first was killed takes the folder over;
// a normal exit leaves the folder free. What a lock file left behind says
// (nothing, garbage, the pid of another live server) never keeps a start out:
// only a live holder of the lock does.

#include "tests/support/ownmariadb.h"
#include "tests/support/serverprocess.h"
#include "tests/support/testmain.h"
#include "tests/support/testterminal.h"
#include "tests/support/workfolder.h"

#include <QFile>
#include <QProcess>
#include <QSysInfo>

#include <memory>
#include <signal.h>
#include <sys/stat.h>

namespace {

const QString JOURNAL = QStringLiteral("terminal_journal.txt");
const QString LOCK = QStringLiteral("orvserver.lock");
// What a killed rewrite leaves; only the folder's owner removes it.
const QString TEMPORARY = QStringLiteral("terminal_journal.txt.Xy12Zw");

// The file's identity: a rewrite puts a new file in its place.
ino_t inodeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

class TestWorkFolderLock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void secondStartTouchesNothing();
    void leftLockFileDoesNotBlock_data();
    void leftLockFileDoesNotBlock();
    void startAfterAKillTakesOver();
    void normalExitFreesTheFolder();

private:
    // A server serving from the folder; null (logged) when it did not start.
    std::unique_ptr<ServerProcess> startReady();
    void stop(std::unique_ptr<ServerProcess> &server);
    // The server answers the handshake on its port.
    bool serves();

    OwnMariaDb m_database;
    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<ServerProcess> m_first;
};

void TestWorkFolderLock::initTestCase()
{
    QString error;
    QVERIFY2(m_database.start(&error), qPrintable(error));
    m_database.exportToEnvironment();
    WorkFolder::Options options;
    options.auxReadOnly = false;
    m_folder.reset(new WorkFolder("wflock", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
}

void TestWorkFolderLock::cleanupTestCase()
{
    m_folder.reset();
    m_database.stop();
}

void TestWorkFolderLock::cleanup()
{
    stop(m_first);
}

std::unique_ptr<ServerProcess> TestWorkFolderLock::startReady()
{
    const QString log = m_folder->filePath("server.log");
    auto server = std::make_unique<ServerProcess>(log);
    server->setWorkingDirectory(m_folder->path());
    QByteArray output;
    if (!server->startUntilReady(ORV_HEADLESS_SERVER, &output)) {
        server.reset();
        QFile said(log);
        said.open(QIODevice::ReadOnly);
        qWarning() << "the server did not start:" << output << said.readAll().right(2000);
        return nullptr;
    }
    return server;
}

void TestWorkFolderLock::stop(std::unique_ptr<ServerProcess> &server)
{
    if (server)
        server->endAsByHand(10000);
    server.reset();
}

bool TestWorkFolderLock::serves()
{
    TestTerminal terminal;
    return terminal.connectTo("127.0.0.1", m_folder->port()) && terminal.handshake();
}

void TestWorkFolderLock::secondStartTouchesNothing()
{
    QVERIFY(m_folder->writeFile(JOURNAL, "4\tSTART\t9\t2026-01-02 08:00:00\n4\tDONE\n"));
    m_first = startReady();
    QVERIFY(m_first);
    QVERIFY(QFile::exists(m_folder->filePath(LOCK)));
    // As the first left it: rewritten, then its own.
    const QByteArray journal = m_folder->readFile(JOURNAL);
    const ino_t inode = inodeOf(m_folder->filePath(JOURNAL));
    QVERIFY(inode != 0);
    QVERIFY(m_folder->writeFile(TEMPORARY, "1\tSTART\t9\t2026-01-02 08:00:00\n"));

    QProcess second;
    second.setWorkingDirectory(m_folder->path());
    second.start(ORV_HEADLESS_SERVER, QStringList());
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 1);
    const QByteArray said = second.readAllStandardError();
    QVERIFY2(said.contains("another program"), said.right(2000).constData());
    QVERIFY(!second.readAllStandardOutput().contains("ready"));

    QVERIFY2(said.contains("another program (pid " + QByteArray::number(m_first->processId()) + ")"),
             said.right(2000).constData());

    QCOMPARE(m_folder->readFile(JOURNAL), journal);
    QCOMPARE(inodeOf(m_folder->filePath(JOURNAL)), inode);
    QVERIFY(QFile::exists(m_folder->filePath(TEMPORARY)));
    QCOMPARE(m_folder->readFile(LOCK), QByteArray::number(m_first->processId()) + "\n");
    QVERIFY(serves());
    QVERIFY(QFile::remove(m_folder->filePath(TEMPORARY)));
}

void TestWorkFolderLock::leftLockFileDoesNotBlock_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("otherServer");
    QTest::newRow("empty (a power cut)") << QByteArray() << false;
    QTest::newRow("garbled") << QByteArray::fromHex("00ff12") + "garbage\n\n12x" << false;
    // As the server itself after a container's restart, or a server of
    // another folder: a live process of the same name.
    QTest::newRow("a live server of the same name") << QByteArray() << true;
}

void TestWorkFolderLock::leftLockFileDoesNotBlock()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, otherServer);
    std::unique_ptr<WorkFolder> otherFolder;
    std::unique_ptr<ServerProcess> other;
    if (otherServer) {
        WorkFolder::Options options;
        options.auxReadOnly = false;
        otherFolder.reset(new WorkFolder("wflock2", options));
        QVERIFY2(otherFolder->isValid(), qPrintable(otherFolder->error()));
        other = std::make_unique<ServerProcess>(otherFolder->filePath("server.log"));
        other->setWorkingDirectory(otherFolder->path());
        QVERIFY(other->startUntilReady(ORV_HEADLESS_SERVER));
        // What the lock of earlier releases wrote: pid, name, host.
        contents = QByteArray::number(other->processId()) + "\norv-headless-server\n"
                   + QSysInfo::machineHostName().toUtf8() + "\n";
    }
    QVERIFY(m_folder->writeFile(LOCK, contents));

    m_first = startReady();
    QVERIFY(m_first);
    QVERIFY(serves());
    QCOMPARE(m_folder->readFile(LOCK), QByteArray::number(m_first->processId()) + "\n");
    stop(other);
}

void TestWorkFolderLock::startAfterAKillTakesOver()
{
    m_first = startReady();
    QVERIFY(m_first);
    ::kill(pid_t(m_first->processId()), SIGKILL);
    QVERIFY(m_first->waitForFinished(10000));
    m_first.reset();
    // Left behind, naming a process that is gone (its pid free for another).
    QVERIFY(!m_folder->readFile(LOCK).isEmpty());
    QVERIFY(m_folder->writeFile(TEMPORARY, "1\tSTART\t9\t2026-01-02 08:00:00\n"));

    m_first = startReady();
    QVERIFY(m_first);
    QVERIFY(serves());
    // The new owner cleaned the folder.
    QVERIFY(!QFile::exists(m_folder->filePath(TEMPORARY)));
}

void TestWorkFolderLock::normalExitFreesTheFolder()
{
    m_first = startReady();
    QVERIFY(m_first);
    stop(m_first);
    // The file stays, naming nobody: removing it would let a program that
    // has it open lock a file the next one does not see.
    QVERIFY(QFile::exists(m_folder->filePath(LOCK)));
    QCOMPARE(m_folder->readFile(LOCK), QByteArray());
    m_first = startReady();
    QVERIFY(m_first);
}

ORV_TEST_MAIN_CORE(TestWorkFolderLock)
#include "tst_workfolderlock.moc"
