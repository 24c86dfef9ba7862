#include "records/courseinfo.h"

#include "records/studentinfolist.h"

#include <utility>

CourseInfo::~CourseInfo()
{
    delete m_studentList;
}

CourseInfo::CourseInfo(CourseInfo &&other) noexcept
    : m_studentList(std::exchange(other.m_studentList, nullptr)), m_summary(other.m_summary)
{
}

CourseInfo &CourseInfo::operator=(CourseInfo &&other) noexcept
{
    if (this != &other) {
        delete m_studentList;
        m_studentList = std::exchange(other.m_studentList, nullptr);
        m_summary = other.m_summary;
    }
    return *this;
}

void CourseInfo::setStudentList(StudentInfoList *list)
{
    if (list != m_studentList)
        delete m_studentList;
    m_studentList = list;
}
