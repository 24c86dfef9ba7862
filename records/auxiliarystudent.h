#ifndef RECORDS_AUXILIARYSTUDENT_H
#define RECORDS_AUXILIARYSTUDENT_H

#include "records/recordfield.h"

#include <QDate>
#include <QString>

// One thisinh row of the theory-test database.
class AuxiliaryStudent
{
    RECORD_FIELD(int, IDThiSinh, 0)
    RECORD_FIELD(QString, IDKhoaHoc, QString())
    RECORD_FIELD(QString, Ma_Dang_Ky, QString())
    RECORD_FIELD(QString, Ma_Ky_SH, QString())
    RECORD_FIELD(QString, HoTen, QString())
    RECORD_FIELD(QString, GioiTinh, QString())
    RECORD_FIELD(QString, SoCMT, QString())
    RECORD_FIELD(QDate, NgaySinh, QDate())
    RECORD_FIELD(QString, QuocTich, QString())
    RECORD_FIELD(QString, DiaChi, QString())
    RECORD_FIELD(QString, SucKhoe, QString())
    RECORD_FIELD(QString, VanHoa, QString())
    RECORD_FIELD(QString, GplxDaCo, QString())
    RECORD_FIELD(QString, ThamNien, QString())
    RECORD_FIELD(QString, SoKm, QString())
    RECORD_FIELD(QString, GhiChu, QString())
    // The photo column's bytes as Base64 text.
    RECORD_FIELD(QString, Anh, QString())
    RECORD_FIELD(QString, DuongDanAnh, QString())
    RECORD_FIELD(QString, noidungSH, QString())
};

#endif // RECORDS_AUXILIARYSTUDENT_H
