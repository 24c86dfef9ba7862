#ifndef PLATFORM_RECURSIVEMUTEX_H
#define PLATFORM_RECURSIVEMUTEX_H

// The lock behind the Win32 mutexes and critical sections the server uses:
// recursive, as both are, and with a lock() that reports failure instead of
// ending the process, as a wait on a mutex can fail there.

#include <pthread.h>

class RecursiveMutex
{
public:
    RecursiveMutex();
    ~RecursiveMutex();

    RecursiveMutex(const RecursiveMutex &) = delete;
    RecursiveMutex &operator=(const RecursiveMutex &) = delete;

    // False when the mutex could not be created; lock() then always fails.
    bool isValid() const;
    // Waits without limit. False when the wait fails (an invalid mutex, or
    // the recursion count overflowing): the caller then does not own it.
    bool lock();
    bool tryLock();
    // One unlock() per successful lock() or tryLock().
    void unlock();

private:
    pthread_mutex_t m_mutex;
    bool m_valid = false;
};

#endif // PLATFORM_RECURSIVEMUTEX_H
