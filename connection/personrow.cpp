#include "connection/personrow.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

Student personFromRow(const QSqlQuery &query, PersonNationality nationality)
{
    const QSqlRecord row = query.record();
    const auto value = [&](const char *column) {
        const int index = row.indexOf(column);
        return index < 0 ? QVariant() : query.value(index);
    };
    Student student;
    student.setIDThiSinh(value("IDThiSinh").toInt());
    student.setSoTT(value("SoTT").toInt());
    student.setMa_Dang_Ky(value("Ma_Dang_Ky").toString());
    student.setMa_Ky_SH(value("Ma_Ky_SH").toString());
    student.setHoTen(value("HoTen").toString());
    student.setGioiTinh(value("GioiTinh").toString());
    student.setSoCMT(value("SoCMT").toString());
    student.setNgaySinh(value("NgaySinh").toDate());
    if (nationality == PersonNationality::Read)
        student.setQuocTich(value("QuocTich").toString());
    return student;
}
