#ifndef RECORDS_CRUDSTUDENTINFO_H
#define RECORDS_CRUDSTUDENTINFO_H

#include "records/recordfield.h"

#include <QDate>
#include <QString>

// A candidate as the operator enters or edits it.
class CRUDStudentInfo
{
    RECORD_FIELD(QString, HoTen, QString())
    RECORD_FIELD(QDate, NgaySinh, QDate())
    RECORD_FIELD(QString, SoBaoDanh, QString())
    RECORD_FIELD(QString, LoaiBang, QString())
    RECORD_FIELD(QString, SoCMT, QString())
    RECORD_FIELD(QString, GioiTinh, QString())
    // Base64 of the photo file.
    RECORD_FIELD(QString, AnhChanDung, QString())
    RECORD_FIELD(QString, NoiDungSH, QString())
};

#endif // RECORDS_CRUDSTUDENTINFO_H
