#include "platform/thread.h"

#include <chrono>
#include <system_error>

std::atomic_int Thread::s_failingStarts{0};

Thread::Thread() = default;

Thread::~Thread()
{
    requestStop();
    join();
}

bool Thread::start(std::function<void()> body)
{
    if (m_thread.joinable() || !body)
        return false;
    int failing = s_failingStarts.load();
    while (failing > 0) {
        if (s_failingStarts.compare_exchange_weak(failing, failing - 1))
            return false;
    }
    {
        std::lock_guard<std::mutex> guard(m_stopMutex);
        m_stop = false;
    }
    try {
        m_thread = std::thread(std::move(body));
    } catch (const std::system_error &) {
        return false;
    }
    return true;
}

void Thread::requestStop()
{
    {
        // Set under the mutex so a waiter between its check and its wait
        // cannot miss the notification.
        std::lock_guard<std::mutex> guard(m_stopMutex);
        m_stop = true;
    }
    m_stopChanged.notify_all();
}

bool Thread::stopRequested() const
{
    return m_stop.load();
}

bool Thread::waitForStop(int ms)
{
    std::unique_lock<std::mutex> lock(m_stopMutex);
    return m_stopChanged.wait_for(lock, std::chrono::milliseconds(ms < 0 ? 0 : ms),
                                  [this] { return m_stop.load(); });
}

bool Thread::join()
{
    if (!m_thread.joinable())
        return true;
    if (isCurrentThread())
        return false;
    m_thread.join();
    return true;
}

bool Thread::isStarted() const
{
    return m_thread.joinable();
}

bool Thread::isCurrentThread() const
{
    return m_thread.get_id() == std::this_thread::get_id();
}

void Thread::failStartsForTesting(int count)
{
    s_failingStarts = count < 0 ? 0 : count;
}
