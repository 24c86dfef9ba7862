#ifndef RECORDS_SQLRESULTINFO_H
#define RECORDS_SQLRESULTINFO_H

#include "records/recordfield.h"

#include <QString>

// Outcome of a create or delete: the new row's key when one was inserted,
// and the reason shown to the operator when it failed.
class SqlResultInfo
{
    RECORD_FIELD(bool, Success, false)
    RECORD_FIELD(int, Id, -1)
    RECORD_FIELD(QString, Message, QString())
    // 0 when the operation succeeded.
    RECORD_FIELD(int, Code, -1)
};

#endif // RECORDS_SQLRESULTINFO_H
