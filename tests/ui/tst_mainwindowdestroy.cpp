// Destroying the main window while its theory-result refresh loop runs and a
// terminal is connected: the loop is stopped and joined at once (it does not
// sleep out its interval), the refreshes it sent arrived on the GUI thread,
// and the terminal's connection is closed. Run under ThreadSanitizer too.

#include "server/network/iocontroller.h"
#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/dialogprobe.h"
#include "app/controller.h"
#include "ui/mainwindow.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QThread>

#include <memory>

class TestMainWindowDestroy : public QObject
{
    Q_OBJECT

private slots:
    void destroyWhileLoopsRun();
};

void TestMainWindowDestroy::destroyWhileLoopsRun()
{
    WorkFolder::Options options;
    options.timeUpdateTheoryResult = 1;
    WorkFolder folder("uidestroy", options);
    QVERIFY2(folder.isValid(), qPrintable(folder.error()));

    auto controller = std::make_unique<Controller>();
    controller->start();
    MainWindow *window = DialogProbe::topLevel<MainWindow>();
    QVERIFY(window);
    QVERIFY(window->isVisible());

    QObject receiver;
    int refreshes = 0;
    Qt::HANDLE refreshedOn = nullptr;
    connect(window, &MainWindow::notifyUpdateResultOfFriendDB, &receiver, [&]() {
        ++refreshes;
        refreshedOn = QThread::currentThreadId();
    });

    QTcpSocket terminal;
    terminal.connectToHost(QHostAddress::LocalHost, folder.port());
    QVERIFY(terminal.waitForConnected(5000));
    QTRY_COMPARE_WITH_TIMEOUT(IOController::getInstance()->getClients().size(), size_t(1), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(refreshes >= 2, 10000);
    QCOMPARE(refreshedOn, QThread::currentThreadId());

    // Half-way through the loop's next wait.
    QTest::qWait(500);
    QElapsedTimer destroying;
    destroying.start();
    controller.reset();
    QVERIFY2(destroying.elapsed() < 900, qPrintable(QString::number(destroying.elapsed())));

    QTRY_COMPARE_WITH_TIMEOUT(terminal.state(), QAbstractSocket::UnconnectedState, 5000);
}

ORV_TEST_MAIN_DESKTOP(TestMainWindowDestroy)
#include "tst_mainwindowdestroy.moc"
