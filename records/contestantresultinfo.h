#ifndef RECORDS_CONTESTANTRESULTINFO_H
#define RECORDS_CONTESTANTRESULTINFO_H

#include "records/recordfield.h"

#include <QString>

// The ten texts of one stored simulation result that its checksum covers,
// exactly as stored checksums were made from them.
class ContestantResultInfo
{
    RECORD_FIELD(QString, SoCMT, QString())
    RECORD_FIELD(QString, HoTen, QString())
    // "yyyy-MM-dd"
    RECORD_FIELD(QString, NgaySinh, QString())
    RECORD_FIELD(QString, SoBaoDanh, QString())
    // The date "yyyy-MM-dd" followed by the literal text " hh:mm:ss".
    RECORD_FIELD(QString, ThoiGianBatDauThi, QString())
    RECORD_FIELD(QString, ThoiGianKetThucThi, QString())
    RECORD_FIELD(QString, KetQuaMoPhong, QString())
    RECORD_FIELD(QString, TraLoiMoPhong, QString())
    // Numbers as decimal text.
    RECORD_FIELD(QString, DiemMoPhong, QString())
    RECORD_FIELD(QString, ChiTietThi, QString())
};

#endif // RECORDS_CONTESTANTRESULTINFO_H
