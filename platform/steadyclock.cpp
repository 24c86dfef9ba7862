#include "platform/steadyclock.h"

#include <chrono>
#include <thread>

std::int64_t SteadyClock::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t SteadyClock::nowMs()
{
    return nowNs() / 1000000;
}

double SteadyClock::elapsedMs(std::int64_t startNs)
{
    return static_cast<double>(nowNs() - startNs) / 1e6;
}

void SteadyClock::sleepUntilNs(std::int64_t deadlineNs)
{
    std::this_thread::sleep_until(
        std::chrono::steady_clock::time_point(std::chrono::nanoseconds(deadlineNs)));
}

void SteadyClock::sleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
