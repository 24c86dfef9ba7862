#ifndef RECORDS_AUXILIARYKHOATHITHISINH_H
#define RECORDS_AUXILIARYKHOATHITHISINH_H

#include "records/recordfield.h"

#include <QDateTime>
#include <QString>

// The fields a candidate's entry in a course has in both databases, in
// column order; KhoaThiThiSinh starts with the same fifteen.
#define KHOATHI_ENTRY_FIELDS                                                           \
    RECORD_FIELD(int, ID, 0)                                                           \
    RECORD_FIELD(QString, IDKhoaHoc, QString())                                        \
    RECORD_FIELD(int, IDThiSinh, 0)                                                    \
    RECORD_FIELD(QString, SoBaoDanh, QString())                                        \
    RECORD_FIELD(int, TraLoiDung, 0)                                                   \
    RECORD_FIELD(int, TraLoiSai, 0)                                                    \
    RECORD_FIELD(int, KhongTraLoi, 0)                                                  \
    RECORD_FIELD(QString, KetQua, QString())                                           \
    RECORD_FIELD(QString, SoChungChiTotNghiep, QString())                              \
    RECORD_FIELD(int, Thi, 0)                                                          \
    RECORD_FIELD(QString, LoaiBang, QString())                                         \
    RECORD_FIELD(QString, TraLoi, QString())                                           \
    RECORD_FIELD(QDateTime, UpdateTime, QDateTime())                                   \
    RECORD_FIELD(int, DiemChuan, 0)                                                    \
    RECORD_FIELD(QString, GhiChu, QString())

// One khoahoc_thisinh row of the theory-test database: an entry with its
// theory result.
class AuxiliaryKhoaThiThiSinh
{
    KHOATHI_ENTRY_FIELDS
};

#endif // RECORDS_AUXILIARYKHOATHITHISINH_H
