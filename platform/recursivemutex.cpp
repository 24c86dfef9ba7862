#include "platform/recursivemutex.h"

RecursiveMutex::RecursiveMutex()
{
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0)
        return;
    if (pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE) == 0)
        m_valid = pthread_mutex_init(&m_mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
}

RecursiveMutex::~RecursiveMutex()
{
    if (m_valid)
        pthread_mutex_destroy(&m_mutex);
}

bool RecursiveMutex::isValid() const
{
    return m_valid;
}

bool RecursiveMutex::lock()
{
    return m_valid && pthread_mutex_lock(&m_mutex) == 0;
}

bool RecursiveMutex::tryLock()
{
    return m_valid && pthread_mutex_trylock(&m_mutex) == 0;
}

void RecursiveMutex::unlock()
{
    if (m_valid)
        pthread_mutex_unlock(&m_mutex);
}
