#ifndef RECORDS_COURSESTATUSLABELS_H
#define RECORDS_COURSESTATUSLABELS_H

#include <QString>

// The course table's labels of the course states. One instance, created on
// first use and never destroyed.
class CourseStatusLabels
{
public:
    // Safe when the first two calls come from different threads.
    static CourseStatusLabels *getInstance();

    // 1 "Chưa thi", 2 "Đang thi", 3 "Đã thi"; any other state (0 for a NULL
    // column) reads as the first label.
    QString labelOf(int state) const;

    CourseStatusLabels(const CourseStatusLabels &) = delete;
    CourseStatusLabels &operator=(const CourseStatusLabels &) = delete;

private:
    CourseStatusLabels() = default;
    ~CourseStatusLabels() = default;
};

#endif // RECORDS_COURSESTATUSLABELS_H
