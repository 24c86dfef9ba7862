// The program as the operator and a service manager run it: orvserver in a
// working folder, offscreen. SIGINT and SIGTERM end it as the exit menu's
// Yes does: the terminals are disconnected and the status is 0.

#include "tests/support/testmain.h"
#include "tests/support/workfolder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>

#include <csignal>
#include <memory>

class TestOrvServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void endsOnSignal_data();
    void endsOnSignal();

private:
    std::unique_ptr<WorkFolder> m_folder;
};

void TestOrvServer::initTestCase()
{
    m_folder.reset(new WorkFolder("uiprogram"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
}

void TestOrvServer::endsOnSignal_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << QStringList() << int(SIGTERM);
    QTest::newRow("SIGINT") << QStringList() << int(SIGINT);
    QTest::newRow("--login, SIGTERM") << QStringList{"--login"} << int(SIGTERM);
}

void TestOrvServer::endsOnSignal()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, signalNumber);
    m_folder->writeFile("log.txt", QByteArray());

    QProcess program;
    program.setProgram(ORVSERVER_PATH);
    program.setArguments(arguments);
    program.setWorkingDirectory(m_folder->path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start();
    QVERIFY(program.waitForStarted(5000));

    // Up once the business controllers are (their last start-up line) and
    // the terminals' port takes connections.
    QTRY_VERIFY_WITH_TIMEOUT(m_folder->readFile("log.txt").contains("Connect auxiliary db"), 20000);
    QTcpSocket terminal;
    terminal.connectToHost(QHostAddress::LocalHost, m_folder->port());
    QVERIFY(terminal.waitForConnected(5000));
    if (arguments.isEmpty())
        QTRY_VERIFY_WITH_TIMEOUT(m_folder->readFile("log.txt").contains("MainWindow::showMainWindow()"),
                                 10000);
    else
        QTest::qWait(300);
    QVERIFY(!m_folder->readFile("log.txt").contains("No matching signal"));

    QCOMPARE(::kill(pid_t(program.processId()), signalNumber), 0);
    QVERIFY(program.waitForFinished(15000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(terminal.state(), QAbstractSocket::UnconnectedState, 5000);
}

ORV_TEST_MAIN_CORE(TestOrvServer)
#include "tst_orvserver.moc"
