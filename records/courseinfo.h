#ifndef RECORDS_COURSEINFO_H
#define RECORDS_COURSEINFO_H

#include "records/coursereportsummary.h"

class StudentInfoList;

// One course's rows and summary, as the Excel exports take them. Owns its
// list, so it is not copyable.
class CourseInfo
{
public:
    CourseInfo() = default;
    ~CourseInfo();
    CourseInfo(const CourseInfo &) = delete;
    CourseInfo &operator=(const CourseInfo &) = delete;
    CourseInfo(CourseInfo &&other) noexcept;
    CourseInfo &operator=(CourseInfo &&other) noexcept;

    StudentInfoList *getStudentList() const { return m_studentList; }
    // Takes ownership of `list`; a list held before is deleted.
    void setStudentList(StudentInfoList *list);

    CourseReportSummary getSummary() const { return m_summary; }
    void setSummary(const CourseReportSummary &summary) { m_summary = summary; }

private:
    StudentInfoList *m_studentList = nullptr;
    CourseReportSummary m_summary;
};

#endif // RECORDS_COURSEINFO_H
