#include "connection/sqlfailurewatch.h"

namespace {

thread_local unsigned long t_failures = 0;

} // namespace

SqlFailureWatch::SqlFailureWatch() : m_start(t_failures) {}

bool SqlFailureWatch::failed() const
{
    return t_failures != m_start;
}

void SqlFailureWatch::countFailure()
{
    ++t_failures;
}
