#include "connection/sqlfailurewatch.h"

namespace {

thread_local unsigned long t_failures = 0;
thread_local unsigned long t_unreachable = 0;

} // namespace

SqlFailureWatch::SqlFailureWatch() : m_start(t_failures), m_unreachableStart(t_unreachable) {}

bool SqlFailureWatch::failed() const
{
    return t_failures != m_start;
}

bool SqlFailureWatch::unreachable() const
{
    return t_unreachable != m_unreachableStart;
}

void SqlFailureWatch::countFailure(bool unreachable)
{
    ++t_failures;
    if (unreachable)
        ++t_unreachable;
}
