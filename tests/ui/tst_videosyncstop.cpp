// SIGTERM while the super-administrator's video send holds the window,
// waiting on a terminal that stopped reading: the program's event loop ends
// with status 0 and its listener is gone within 5 s, wired as main() wires
// the signal. The signal ends the process's sending for good: one scenario,
// in a working folder of its own.

#include "app/signalwatcher.h"
#include "platform/steadyclock.h"
#include "platform/thread.h"
#include "server/business/businesscontroller.h"
#include "server/business/videodistributor.h"
#include "server/network/clientsocket.h"
#include "server/network/iocontroller.h"
#include "ui/customerbox.h"
#include "ui/mainwindow.h"
#include "ui/superadminwindow.h"

#include "tests/support/desktopmain.h"
#include "tests/support/testterminal.h"
#include "tests/support/workfolder.h"

#include <QAction>
#include <QSqlQuery>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <memory>
#include <unistd.h>

class TestVideoSyncStop : public QObject
{
    Q_OBJECT

private slots:
    void sigtermDuringTheWaitEndsTheProgram();
};

void TestVideoSyncStop::sigtermDuringTheWaitEndsTheProgram()
{
    WorkFolder folder("videostop");
    QVERIFY2(folder.isValid(), qPrintable(folder.error()));
    // Enough that the stalled terminal, served first, fills its connection's
    // cap and the kernel's buffers before the first file is through.
    const QByteArray video(16 * 1024 * 1024, 'v');
    {
        QVERIFY(folder.writeFile("videos/chapter1_1.mp4", video));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "videolist");
        db.setDatabaseName(folder.filePath("orv.db"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE IF NOT EXISTS video (id INTEGER PRIMARY KEY, name TEXT,"
                       " chapter INTEGER, th INTEGER)"));
        QVERIFY(q.exec("INSERT INTO video (name, chapter, th) VALUES ('chapter1_1.mp4', 1, 1)"));
    }
    QSqlDatabase::removeDatabase("videolist");

    SignalWatcher watcher(&VideoDistributor::requestStop);
    QVERIFY(watcher.isValid());
    connect(&watcher, &SignalWatcher::notifyTerminationRequested, qApp,
            [](int) { MainWindow::exitProgram(); });

    BusinessController *controller = BusinessController::getInstance();
    QVERIFY(controller);
    SuperAdminWindow window;
    window.show();
    IOController *io = IOController::getInstance();
    QTRY_COMPARE(io->getStatus(), IOController::STATUS_LISTENING);

    TestTerminal stalled;
    stalled.setReceiveBufferSize(4096);
    QVERIFY(stalled.connectTo("127.0.0.1", folder.port()));
    QVERIFY(stalled.handshake());
    QTRY_COMPARE(io->getClients().size(), size_t(1));
    const std::shared_ptr<ClientSocket> stalledConnection = io->getClients().begin()->second;
    TestTerminal reading;
    QVERIFY(reading.connectTo("127.0.0.1", folder.port()));
    QVERIFY(reading.handshake());
    QTRY_COMPARE(io->getClients().size(), size_t(2));

    // Reads until the program closes the connection.
    Thread reader;
    QVERIFY(reader.start([&] {
        TestTerminalFrame frame;
        while (!reader.stopRequested() && reading.readFrame(&frame, 500))
            ;
    }));
    // Once the send waits on the stalled terminal, well inside its 10 s.
    std::atomic<std::int64_t> signalledNs{0};
    Thread signaller;
    QVERIFY(signaller.start([&] {
        const quint64 waiting = ClientSocket::MAX_PENDING_SEND_BYTES
                                - VideoDistributor::REPLY_RESERVE_BYTES
                                - 2 * (VideoDistributor::CHUNK_SIZE + 3);
        while (stalledConnection->pendingSendBytes() < waiting) {
            if (signaller.waitForStop(5))
                return;
        }
        if (signaller.waitForStop(1000))
            return;
        signalledNs = SteadyClock::nowNs();
        ::kill(::getpid(), SIGTERM);
    }));

    QTimer::singleShot(0, &window, [&window] {
        window.findChild<QAction *>("actionSyncAllVideo")->trigger();
    });
    // Should the signal never come, the loop still ends, with another status.
    QTimer::singleShot(60000, qApp, [] { QCoreApplication::exit(2); });
    const int status = QApplication::exec();
    const bool boxShown = window.findChild<CustomerBox *>()->isVisible();
    // The connections' threads joined, as the program's end does.
    IOController::destroyInstance();
    const std::int64_t endedNs = SteadyClock::nowNs();
    signaller.requestStop();
    signaller.join();
    reader.requestStop();
    reader.join();

    QVERIFY2(signalledNs != 0, "the send never waited on the stalled terminal");
    QCOMPARE(status, 0);
    const double ms = double(endedNs - signalledNs) / 1e6;
    qInfo("ended %.0f ms after SIGTERM", ms);
    QVERIFY2(ms < 5000, qPrintable(QString("ended %1 ms after SIGTERM").arg(ms)));
    // Nobody is left to read a report of a send the program cut short.
    QVERIFY(!boxShown);
}

ORV_TEST_MAIN_DESKTOP(TestVideoSyncStop)
#include "tst_videosyncstop.moc"
