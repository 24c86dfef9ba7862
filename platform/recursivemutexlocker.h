#ifndef PLATFORM_RECURSIVEMUTEXLOCKER_H
#define PLATFORM_RECURSIVEMUTEXLOCKER_H

// Holds a RecursiveMutex for a scope, so that every return path releases it.
// A failed lock() leaves isLocked() false and releases nothing.

#include "platform/recursivemutex.h"

class RecursiveMutexLocker
{
public:
    explicit RecursiveMutexLocker(RecursiveMutex &mutex)
        : m_mutex(mutex), m_locked(mutex.lock())
    {
    }
    ~RecursiveMutexLocker() { unlock(); }

    RecursiveMutexLocker(const RecursiveMutexLocker &) = delete;
    RecursiveMutexLocker &operator=(const RecursiveMutexLocker &) = delete;

    bool isLocked() const { return m_locked; }
    // Releases early, e.g. before a blocking socket call.
    void unlock()
    {
        if (m_locked) {
            m_locked = false;
            m_mutex.unlock();
        }
    }

private:
    RecursiveMutex &m_mutex;
    bool m_locked;
};

#endif // PLATFORM_RECURSIVEMUTEXLOCKER_H
