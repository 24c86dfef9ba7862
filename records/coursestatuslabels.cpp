#include "records/coursestatuslabels.h"

#include "common/constants.h"

CourseStatusLabels *CourseStatusLabels::getInstance()
{
    // Reached from the GUI thread and the terminal-message thread; a
    // function-local static is initialised exactly once even when both ask
    // first, and the instance is never destroyed.
    static CourseStatusLabels *const instance = new CourseStatusLabels;
    return instance;
}

QString CourseStatusLabels::labelOf(int state) const
{
    if (state >= 1 && state <= COURSE_STATE_LIST.size())
        return COURSE_STATE_LIST.at(state - 1);
    return COURSE_STATE_LIST.first();
}
