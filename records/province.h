#ifndef RECORDS_PROVINCE_H
#define RECORDS_PROVINCE_H

#include "records/recordfield.h"

#include <QString>

// One tinh row: a provincial transport department.
class Province
{
    RECORD_FIELD(QString, IDTinh, QString())
    RECORD_FIELD(QString, TenTinh, QString())
};

#endif // RECORDS_PROVINCE_H
