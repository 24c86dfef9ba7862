#ifndef RECORDS_COURSEREPORTSUMMARY_H
#define RECORDS_COURSEREPORTSUMMARY_H

#include "records/recordfield.h"

#include <QDate>
#include <QString>

// The heading and counters of one course.
class CourseReportSummary
{
    RECORD_FIELD(QString, ProvinceName, QString("Sở Giao Thông Vận Tải"))
    RECORD_FIELD(QString, IdKhoaHoc, QString())
    RECORD_FIELD(QString, UnitName, QString("Trung tâm Đào Tạo Lái Xe"))
    RECORD_FIELD(QString, CourseName, QString())
    RECORD_FIELD(QDate, ContestDate, QDate::currentDate())
    // Entries in states 0, 1 and 2 together.
    RECORD_FIELD(int, Total, 0)
    RECORD_FIELD(int, NotContest, 0)
    RECORD_FIELD(int, Contest, 0)
    RECORD_FIELD(int, Contested, 0)
    RECORD_FIELD(int, Pass, 0)
    RECORD_FIELD(int, NotPass, 0)
};

#endif // RECORDS_COURSEREPORTSUMMARY_H
