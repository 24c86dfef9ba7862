#ifndef RECORDS_ORDERNUMBERCHECK_H
#define RECORDS_ORDERNUMBERCHECK_H

#include "records/recordfield.h"

#include <QString>

// The answer to a terminal that asks to admit a candidate by order number.
class OrderNumberCheck
{
    RECORD_FIELD(int, Status, 1)
    // Index into RANK_LIST.
    RECORD_FIELD(int, LicenceClass, 0)
    // The entry's key in khoathi_thisinh.
    RECORD_FIELD(int, ID, 0)
    // Padded with blanks on the right to 12 characters.
    RECORD_FIELD(QString, SoCMT, QString())
    RECORD_FIELD(QString, HoTen, QString())
    RECORD_FIELD(QString, NoiDungSH, QString())
    // The course's code as stored, whatever the case or width it was asked
    // in; empty when no running course was found.
    RECORD_FIELD(QString, IDKhoaHoc, QString())
};

#endif // RECORDS_ORDERNUMBERCHECK_H
