#ifndef RECORDS_COURSE_H
#define RECORDS_COURSE_H

#include "records/recordfield.h"

#include <QDate>
#include <QString>

// One course: a khoathi row of the main database or a khoahoc row of the
// theory-test database.
class Course
{
    RECORD_FIELD(QString, IDKhoaHoc, QString())
    RECORD_FIELD(QString, TenKhoaHoc, QString())
    RECORD_FIELD(QString, IDDonVi, QString())
    RECORD_FIELD(QDate, NgayThi, QDate())
    RECORD_FIELD(int, NamHoc, 0)
    RECORD_FIELD(int, Thi, 0)
    RECORD_FIELD(QString, HoiDong, QString())
    RECORD_FIELD(QString, TrungTam, QString())
    // 1 not yet examined, 2 under examination, 3 examined; NULL reads 0.
    RECORD_FIELD(int, TrangThai, 0)
    RECORD_FIELD(QDate, NgayImport, QDate())
    // Also the folder of the candidates' photos.
    RECORD_FIELD(QString, GhiChu, QString())
};

#endif // RECORDS_COURSE_H
