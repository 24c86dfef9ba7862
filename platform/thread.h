#ifndef PLATFORM_THREAD_H
#define PLATFORM_THREAD_H

// A thread that can fail to start, as CreateThread can, and that is never
// left detached: its owner asks it to stop and joins it, at the latest in
// the destructor. The body reads stopRequested() or waits in waitForStop()
// and returns once a stop is asked for; a body blocked in a socket call is
// woken by shutting the socket down before join().

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class Thread
{
public:
    Thread();
    // Asks for a stop and joins. Must not run on the thread itself.
    ~Thread();

    Thread(const Thread &) = delete;
    Thread &operator=(const Thread &) = delete;

    // False when the system refuses a new thread, or when this object
    // already runs one that has not been joined.
    bool start(std::function<void()> body);

    void requestStop();
    bool stopRequested() const;
    // Sleeps up to ms milliseconds, returning at once when a stop is asked
    // for: true when it was, false when the time ran out.
    bool waitForStop(int ms);

    // Waits for the body to return; a no-op when nothing runs. From the
    // thread itself it returns false and joins nothing.
    bool join();
    bool isStarted() const;
    bool isCurrentThread() const;

    // Tests of start-up failures: the next count calls to start(), in any
    // Thread of the process, fail as if the system had refused them.
    static void failStartsForTesting(int count);

private:
    std::thread m_thread;
    std::atomic_bool m_stop{false};
    std::mutex m_stopMutex;
    std::condition_variable m_stopChanged;

    static std::atomic_int s_failingStarts;
};

#endif // PLATFORM_THREAD_H
