#ifndef PLATFORM_STEADYCLOCK_H
#define PLATFORM_STEADYCLOCK_H

// A clock that never goes back when the wall clock is set, for timing and
// pacing, and the plain sleep the polling loops use.

#include <cstdint>

class SteadyClock
{
public:
    // Nanoseconds since an arbitrary fixed point.
    static std::int64_t nowNs();
    static std::int64_t nowMs();
    // Milliseconds, with fractions, since a value of nowNs().
    static double elapsedMs(std::int64_t startNs);
    // As Sleep(ms): at least ms milliseconds, resumed after a signal.
    static void sleepMs(int ms);
    // Sleeps until nowNs() reaches the deadline; at once when it has.
    static void sleepUntilNs(std::int64_t deadlineNs);
};

#endif // PLATFORM_STEADYCLOCK_H
