// Threads that are stopped and joined, the recursive lock, and the clock and
// sleep that pace the polling loops.

#include "platform/recursivemutex.h"
#include "platform/recursivemutexlocker.h"
#include "platform/steadyclock.h"
#include "platform/thread.h"
#include "tests/support/testmain.h"

#include <QElapsedTimer>

#include <atomic>
#include <memory>

class TestThreadLock : public QObject
{
    Q_OBJECT

private slots:
    void startStopJoin();
    void destructorStopsAndJoins();
    void waitForStopWakesAtOnce();
    void waitForStopTimesOut();
    void failedStart();
    void startWhileRunningIsRefused();
    void restartAfterJoin();
    void joinFromOwnThreadRefused();
    void recursiveLock();
    void lockExcludesOtherThreads();
    void lockerReleasesOnScopeExit();
    void clockIsSteadyAndSleepWaits();
};

void TestThreadLock::startStopJoin()
{
    Thread thread;
    QVERIFY(!thread.isStarted());
    std::atomic_int turns{0};
    QVERIFY(thread.start([&] {
        while (!thread.stopRequested()) {
            ++turns;
            SteadyClock::sleepMs(1);
        }
    }));
    QVERIFY(thread.isStarted());
    QTRY_VERIFY(turns > 0);
    thread.requestStop();
    QVERIFY(thread.join());
    QVERIFY(!thread.isStarted());
    const int after = turns;
    SteadyClock::sleepMs(10);
    QCOMPARE(turns.load(), after);
}

void TestThreadLock::destructorStopsAndJoins()
{
    std::atomic_bool finished{false};
    QElapsedTimer timer;
    {
        auto thread = std::make_unique<Thread>();
        Thread *self = thread.get();
        QVERIFY(thread->start([self, &finished] {
            // A long pacing sleep, as the refresh loop's, must not hold up
            // the owner's destruction.
            while (!self->waitForStop(60000)) {
            }
            finished = true;
        }));
        timer.start();
    }
    QVERIFY(finished);
    QVERIFY(timer.elapsed() < 1000);
}

void TestThreadLock::waitForStopWakesAtOnce()
{
    Thread thread;
    std::atomic_bool woken{false};
    std::atomic_bool waiting{false};
    QVERIFY(thread.start([&] {
        waiting = true;
        woken = thread.waitForStop(60000);
    }));
    QTRY_VERIFY(waiting);
    QElapsedTimer timer;
    timer.start();
    thread.requestStop();
    thread.join();
    QVERIFY(woken);
    QVERIFY(timer.elapsed() < 1000);
}

void TestThreadLock::waitForStopTimesOut()
{
    Thread thread;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!thread.waitForStop(30));
    QVERIFY(timer.elapsed() >= 29);
}

void TestThreadLock::failedStart()
{
    Thread::failStartsForTesting(2);
    std::atomic_int runs{0};
    Thread first;
    Thread second;
    Thread third;
    QVERIFY(!first.start([&] { ++runs; }));
    QVERIFY(!first.isStarted());
    QVERIFY(!second.start([&] { ++runs; }));
    QVERIFY(third.start([&] { ++runs; }));
    third.join();
    first.join(); // nothing to join: harmless
    QCOMPARE(runs.load(), 1);
    QVERIFY(!Thread().start(nullptr));
}

void TestThreadLock::startWhileRunningIsRefused()
{
    Thread thread;
    std::atomic_int runs{0};
    QVERIFY(thread.start([&] {
        ++runs;
        thread.waitForStop(60000);
    }));
    QVERIFY(!thread.start([&] { runs += 10; }));
    thread.requestStop();
    thread.join();
    QCOMPARE(runs.load(), 1);
}

void TestThreadLock::restartAfterJoin()
{
    // A stop asked for in the first run must not stop the second at once.
    Thread thread;
    QVERIFY(thread.start([&] { thread.waitForStop(60000); }));
    thread.requestStop();
    thread.join();
    std::atomic_bool stoppedAtStart{true};
    QVERIFY(thread.start([&] { stoppedAtStart = thread.stopRequested(); }));
    thread.join();
    QVERIFY(!stoppedAtStart);
}

void TestThreadLock::joinFromOwnThreadRefused()
{
    Thread thread;
    std::atomic_int joined{-1};
    std::atomic_bool current{false};
    std::atomic_bool go{false};
    QVERIFY(thread.start([&] {
        while (!go) {
            SteadyClock::sleepMs(1);
        }
        current = thread.isCurrentThread();
        joined = thread.join() ? 1 : 0;
    }));
    QVERIFY(!thread.isCurrentThread());
    go = true;
    QVERIFY(thread.join());
    QVERIFY(current);
    QCOMPARE(joined.load(), 0);
}

void TestThreadLock::recursiveLock()
{
    RecursiveMutex mutex;
    QVERIFY(mutex.isValid());
    QVERIFY(mutex.lock());
    QVERIFY(mutex.lock());
    QVERIFY(mutex.tryLock());
    mutex.unlock();
    mutex.unlock();
    // Still held once: another thread cannot take it yet.
    std::atomic_int otherGot{-1};
    Thread other;
    QVERIFY(other.start([&] {
        const bool got = mutex.tryLock();
        if (got)
            mutex.unlock();
        otherGot = got ? 1 : 0;
    }));
    other.join();
    QCOMPARE(otherGot.load(), 0);
    mutex.unlock();
    QVERIFY(other.start([&] {
        const bool got = mutex.tryLock();
        if (got)
            mutex.unlock();
        otherGot = got ? 1 : 0;
    }));
    other.join();
    QCOMPARE(otherGot.load(), 1);
}

void TestThreadLock::lockExcludesOtherThreads()
{
    RecursiveMutex mutex;
    int counter = 0;
    constexpr int PerThread = 20000;
    Thread threads[4];
    for (Thread &t : threads) {
        QVERIFY(t.start([&] {
            for (int i = 0; i < PerThread; ++i) {
                if (mutex.lock()) {
                    ++counter;
                    mutex.unlock();
                }
            }
        }));
    }
    for (Thread &t : threads)
        t.join();
    QCOMPARE(counter, 4 * PerThread);
}

void TestThreadLock::lockerReleasesOnScopeExit()
{
    RecursiveMutex mutex;
    auto heldElsewhere = [&mutex] {
        std::atomic_bool got{false};
        Thread probe;
        probe.start([&] {
            got = mutex.tryLock();
            if (got)
                mutex.unlock();
        });
        probe.join();
        return !got;
    };
    {
        RecursiveMutexLocker outer(mutex);
        QVERIFY(outer.isLocked());
        {
            RecursiveMutexLocker inner(mutex);
            QVERIFY(inner.isLocked());
        }
        QVERIFY(heldElsewhere());
        outer.unlock();
        QVERIFY(!outer.isLocked());
        QVERIFY(!heldElsewhere());
    }
    QVERIFY(!heldElsewhere());
}

void TestThreadLock::clockIsSteadyAndSleepWaits()
{
    const std::int64_t start = SteadyClock::nowNs();
    const std::int64_t startMs = SteadyClock::nowMs();
    SteadyClock::sleepMs(20);
    const double elapsed = SteadyClock::elapsedMs(start);
    QVERIFY2(elapsed >= 20.0, qPrintable(QString::number(elapsed)));
    QVERIFY(elapsed < 2000.0);
    QVERIFY(SteadyClock::nowMs() - startMs >= 19);
    SteadyClock::sleepMs(0);
    SteadyClock::sleepMs(-5); // returns at once
    QVERIFY(SteadyClock::nowNs() >= start);
}

ORV_TEST_MAIN_CORE(TestThreadLock)
#include "tst_threadlock.moc"
