#ifndef RECORDS_STUDENT_H
#define RECORDS_STUDENT_H

#include "records/recordfield.h"

#include <QDate>
#include <QString>

// One thisinh row of the main database: a candidate as a person.
class Student
{
    RECORD_FIELD(int, SoTT, 0)
    RECORD_FIELD(int, IDThiSinh, 0)
    RECORD_FIELD(QString, Ma_Ky_SH, QString())
    RECORD_FIELD(QString, Ma_Dang_Ky, QString())
    RECORD_FIELD(QString, HoTen, QString())
    RECORD_FIELD(QString, GioiTinh, QString())
    RECORD_FIELD(QDate, NgaySinh, QDate())
    RECORD_FIELD(QString, SoCMT, QString())
    RECORD_FIELD(QString, DiaChi, QString())
    RECORD_FIELD(QString, QuocTich, QString())
};

#endif // RECORDS_STUDENT_H
