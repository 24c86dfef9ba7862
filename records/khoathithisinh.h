#ifndef RECORDS_KHOATHITHISINH_H
#define RECORDS_KHOATHITHISINH_H

#include "records/auxiliarykhoathithisinh.h"

// One khoathi_thisinh row of the main database: a person's entry in a course
// with the theory and simulation results.
class KhoaThiThiSinh
{
    KHOATHI_ENTRY_FIELDS
    // -1: no score yet.
    RECORD_FIELD(int, DiemMoPhong, -1)
    RECORD_FIELD(int, DiemChuanMoPhong, 35)
    RECORD_FIELD(QString, KetQuaMoPhong, QString())
    RECORD_FIELD(QDateTime, ThoiGianBatDauThi, QDateTime())
    RECORD_FIELD(QDateTime, ThoiGianKetThucThi, QDateTime())
    // 0 not yet examined, 1 in the examination, 2 result stored.
    RECORD_FIELD(int, TrangThai, 0)
    RECORD_FIELD(QString, CheckSumKQMP, QString())
    RECORD_FIELD(QString, SoHoSo, QString())
    RECORD_FIELD(QString, MaKySH, QString())
    RECORD_FIELD(QString, NoiDungSH, QString())
    RECORD_FIELD(QString, KetQuaSH, QString())
    RECORD_FIELD(QString, KetQuaSHLyThuyet, QString())
    RECORD_FIELD(QString, AnhChanDung, QString())
};

#endif // RECORDS_KHOATHITHISINH_H
