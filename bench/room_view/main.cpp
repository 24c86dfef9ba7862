// The operator's room view under a burst of results: the real main window
// (offscreen) shows a course of N candidates who are all in the room, and
// their N terminals send their results at once. Measures, on the GUI
// thread, the worst lateness of a 10 ms timer (how long the event loop
// stalls), the time from the last result stored in the database to the
// candidate table and the counters showing every result, and the results
// lost. The server runs in this process, as in the program; the private
// database comes from ORV_DB_HOST, ORV_DB_PORT, ORV_DB_USER and ORV_DB_PASS.
//
//   room_view [-n N]      N from 1 to 300, 300 by default

#include "bench/benchroom.h"
#include "server/business/businesscontroller.h"
#include "tests/support/testdb.h"
#include "tests/support/testterminal.h"
#include "tests/support/testterminalmessages.h"
#include "tests/support/workfolder.h"
#include "ui/mainwindow.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTextCodec>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Messages = TestTerminalMessages;
using Clock = std::chrono::steady_clock;
using BenchRoom::Gate;
using BenchRoom::scoreOf;

const int DEFAULT_TERMINALS = 300;
const int MAX_TERMINALS = 300;
const int WAIT_MS = 120000;
const int TICK_MS = 10;
const int STATE_COLUMN = 13;

// The room's entries in `state`; with `checksummed`, only those holding a
// whole checksum.
int countInState(QSqlDatabase db, int state, bool checksummed)
{
    QSqlQuery q(db);
    q.prepare("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = 'C1' AND TrangThai = :state "
              "AND (:any OR CHAR_LENGTH(CheckSumKQMP) = 96)");
    q.bindValue(":state", state);
    q.bindValue(":any", !checksummed);
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toInt();
}

// A terminal: admitted and started, then, once every terminal is in, the
// result. Empty on success, else what failed.
struct Terminal
{
    TestTerminal link;
    QString failure;

    bool enter(quint16 port, int order)
    {
        if (!link.connectTo("127.0.0.1", port, WAIT_MS) || !link.handshake(WAIT_MS))
            return fail("connect: " + link.errorString());
        if (!link.sendEncrypted(Messages::EncryptedContestEnter,
                                Messages::contestEnter("C1", QByteArray::number(order))))
            return fail("enter: " + link.errorString());
        TestTerminalFrame frame;
        QByteArray plain;
        Messages::EnterResponseFields reply;
        if (!link.readFrame(&frame, WAIT_MS) || frame.type != Messages::EncryptedEnterResponse
            || !link.decrypt(frame, &plain) || !Messages::parseEnterResponse(plain, &reply) || reply.status != 0)
            return fail("admission refused");
        if (!link.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(true, order, false)))
            return fail("start: " + link.errorString());
        return true;
    }
    bool finish(int order)
    {
        if (!link.sendEncrypted(Messages::EncryptedContestResult,
                                Messages::contestResult(scoreOf(order), 35, scoreOf(order) >= 35, order, "C1",
                                                        "1A;2B;3C;4D;5A;6B;7C;8D;9A;10B")))
            return fail("result: " + link.errorString());
        return true;
    }
    bool fail(const QString &why)
    {
        failure = why;
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's log is not part of the measure.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.info=false");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("The main window while N terminals finish at once.");
    parser.addHelpOption();
    parser.addOption({{"n", "terminals"}, "Number of terminals (1 to 300).", "N",
                      QString::number(DEFAULT_TERMINALS)});
    parser.process(app);
    bool isNumber = false;
    const int n = parser.value("n").toInt(&isNumber);
    if (!isNumber || n < 1 || n > MAX_TERMINALS) {
        std::fprintf(stderr, "room_view: N must be 1 to %d\n", MAX_TERMINALS);
        return 2;
    }
    if (TestDb::server().port == 0) {
        std::fprintf(stderr, "room_view: set ORV_DB_HOST, ORV_DB_PORT, ORV_DB_USER, ORV_DB_PASS\n");
        return 2;
    }

    WorkFolder::Options options;
    options.timeUpdateTheoryResult = 0;
    WorkFolder folder("roomview", options);
    if (!folder.isValid()) {
        std::fprintf(stderr, "room_view: %s\n", qPrintable(folder.error()));
        return 1;
    }
    QString error;
    if (!BenchRoom::seed(folder.mainAdmin(), "Khóa thử phòng thi", n, &error)) {
        std::fprintf(stderr, "room_view: seeding failed: %s\n", qPrintable(error));
        return 1;
    }

    std::unique_ptr<MainWindow> window(new MainWindow());
    window->initModel();
    window->showMainWindow();
    auto *combo = window->findChild<QComboBox *>("cmbCourse");
    combo->setCurrentIndex(combo->findData("C1"));
    const QAbstractItemModel *table = window->findChild<QTableView *>("studentView")->model();
    QLabel *contested = window->findChild<QLabel *>("lbContested");

    // Phase 1: every terminal admits and starts its candidate; phase 2,
    // once the room is full, every terminal sends its result at once.
    std::vector<std::unique_ptr<Terminal>> room;
    std::vector<std::thread> threads;
    Gate enterGate;
    Gate finishGate;
    std::atomic_int entered{0};
    for (int i = 0; i < n; ++i) {
        room.emplace_back(new Terminal);
        threads.emplace_back([&, i] {
            enterGate.wait();
            Terminal &t = *room[size_t(i)];
            if (!t.enter(folder.port(), i + 1))
                return;
            ++entered;
            finishGate.wait();
            t.finish(i + 1);
        });
    }
    enterGate.open();

    // The database watcher: its own connection and thread, so that polling
    // does not load the GUI thread it measures.
    std::atomic_bool watching{true};
    std::atomic<long long> lastStoredNs{-1};
    std::atomic_int stored{0};
    std::atomic_int inRoom{0};
    std::thread watcher([&] {
        QSqlDatabase db = TestDb::open("roomview-watcher", folder.mainDbName());
        while (watching) {
            inRoom = countInState(db, 1, false);
            const int done = countInState(db, 2, true);
            if (done == n && lastStoredNs < 0)
                lastStoredNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   Clock::now().time_since_epoch())
                                   .count();
            stored = done;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        db.close();
    });

    // Room full, then the burst; the tick measures the GUI thread meanwhile.
    QElapsedTimer phase;
    phase.start();
    while (inRoom < n && phase.elapsed() < WAIT_MS)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    // Let the starts reach the table before the results go.
    while (table->rowCount() == n && phase.elapsed() < WAIT_MS) {
        int shown = 0;
        for (int row = 0; row < table->rowCount(); ++row)
            shown += table->index(row, STATE_COLUMN).data().toInt() == 1;
        if (shown == n)
            break;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    qint64 worstLatenessMs = 0;
    long long shownNs = -1;
    Clock::time_point lastTick = Clock::now();
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QEventLoop loop;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        const qint64 lateness =
            std::chrono::duration_cast<std::chrono::milliseconds>(now - lastTick).count() - TICK_MS;
        worstLatenessMs = qMax(worstLatenessMs, lateness);
        lastTick = now;
        if (shownNs < 0 && lastStoredNs >= 0 && contested->text() == QString::number(n)) {
            int done = 0;
            for (int row = 0; row < table->rowCount(); ++row)
                done += table->index(row, STATE_COLUMN).data().toInt() == 2;
            if (done == n) {
                shownNs = std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
                loop.quit();
            }
        }
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    const Clock::time_point burst = Clock::now();
    lastTick = burst;
    tick.start(TICK_MS);
    giveUp.start(WAIT_MS);
    finishGate.open();
    loop.exec();
    tick.stop();

    for (std::thread &t : threads)
        t.join();
    watching = false;
    watcher.join();
    for (auto &t : room)
        t->link.close();

    int failed = 0;
    for (int i = 0; i < n; ++i) {
        if (room[size_t(i)]->failure.isEmpty())
            continue;
        if (++failed <= 5)
            std::fprintf(stderr, "terminal %d: %s\n", i + 1, qPrintable(room[size_t(i)]->failure));
    }
    const long long burstNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(burst.time_since_epoch()).count();
    std::printf("candidates in the room: %d, terminals finishing at once: %d\n", int(entered), n);
    if (lastStoredNs >= 0)
        std::printf("burst to last result stored: %.0f ms\n", double(lastStoredNs - burstNs) / 1e6);
    std::printf("longest GUI stall (10 ms timer, worst lateness): %lld ms\n", static_cast<long long>(worstLatenessMs));
    if (shownNs >= 0 && lastStoredNs >= 0)
        std::printf("last result stored to table and counters showing it: %.0f ms\n",
                    double(shownNs - lastStoredNs) / 1e6);
    else
        std::printf("last result stored to table and counters showing it: not reached\n");
    std::printf("results lost: %d of %d (checked in the database)\n", n - int(stored), n);
    if (failed > 0)
        std::printf("terminals that failed: %d\n", failed);

    window.reset();
    return stored == n && failed == 0 && shownNs >= 0 ? 0 : 1;
}
