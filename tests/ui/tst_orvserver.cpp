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
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestOrvServer::endsOnSignal()
{
    QFETCH(int, signalNumber);
    m_folder->writeFile("log.txt", QByteArray());

    QProcess program;
    program.setProgram(ORVSERVER_PATH);
    program.setWorkingDirectory(m_folder->path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start();
    QVERIFY(program.waitForStarted(5000));

    // Up once the main window has been shown.
    QTRY_VERIFY_WITH_TIMEOUT(m_folder->readFile("log.txt").contains("Finish function!\" ui/mainwindow.cpp"),
                             20000);
    QTcpSocket terminal;
    terminal.connectToHost(QHostAddress::LocalHost, m_folder->port());
    QVERIFY(terminal.waitForConnected(5000));

    QCOMPARE(::kill(pid_t(program.processId()), signalNumber), 0);
    QVERIFY(program.waitForFinished(15000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(terminal.state(), QAbstractSocket::UnconnectedState, 5000);
}

ORV_TEST_MAIN_CORE(TestOrvServer)
#include "tst_orvserver.moc"
