#ifndef RECORDS_STUDENTINFO_H
#define RECORDS_STUDENTINFO_H

#include "records/recordfield.h"

#include <QDate>
#include <QString>

// One row of the operator's candidate table: an entry of the current course
// joined with its person.
class StudentInfo
{
    // The entry's key in khoathi_thisinh; unique within a course.
    RECORD_FIELD(int, ID, 0)
    RECORD_FIELD(QString, HoTen, QString())

public:
    QString getSoCMT() const { return m_SoCMT; }
    // Pads with blanks on the right to 12 characters; never cuts.
    void setSoCMT(const QString &value);

private:
    QString m_SoCMT;

    RECORD_FIELD(QString, SoBaoDanh, QString())
    // -1: no score. A negative score or pass mark shows blank.
    RECORD_FIELD(int, DiemMoPhong, 0)
    RECORD_FIELD(int, DiemChuanMoPhong, 0)
    RECORD_FIELD(QString, KetQuaMoPhong, QString())
    // Times as text, "yyyy-MM-dd hh:mm:ss"; empty when none.
    RECORD_FIELD(QString, ThoiGianBatDauThi, QString())
    RECORD_FIELD(QString, ThoiGianKetThucThi, QString())
    RECORD_FIELD(QString, LoaiBang, QString())
    RECORD_FIELD(QDate, NgaySinh, QDate())
    RECORD_FIELD(QString, DiaChi, QString())
    RECORD_FIELD(QString, GioiTinh, QString())
    RECORD_FIELD(QString, KetQuaSHLyThuyet, QString())
    RECORD_FIELD(QString, GhiChu, QString())
    // 0 not yet examined, 1 in the examination, 2 result stored.
    RECORD_FIELD(int, TrangThai, 0)
    RECORD_FIELD(QString, NoiDungSH, QString())
};

#endif // RECORDS_STUDENTINFO_H
