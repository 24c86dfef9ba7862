#ifndef RECORDS_REPORTINFO_H
#define RECORDS_REPORTINFO_H

#include "records/recordfield.h"

#include <QString>

// Everything printed on one candidate's result sheet.
class ReportInfo
{
    RECORD_FIELD(QString, ProvinceName, QString("DOVRENA"))
    RECORD_FIELD(QString, Name, QString())
    // "dd.MM.yyyy"
    RECORD_FIELD(QString, DateOfBirth, QString())
    RECORD_FIELD(QString, Rank, QString())
    RECORD_FIELD(QString, OrderNumber, QString())
    RECORD_FIELD(int, Score, 0)
    RECORD_FIELD(QString, Result, QString())
    RECORD_FIELD(QString, Id, QString())
    RECORD_FIELD(QString, Course, QString())
    // Not printed: it keeps a cut course name's file apart from another's.
    RECORD_FIELD(QString, CourseCode, QString())
    // "dd.MM.yyyy"
    RECORD_FIELD(QString, ContestDate, QString())
    RECORD_FIELD(QString, Place, QString())
    RECORD_FIELD(QString, Answers, QString())
    // Whether the stored checksum verified.
    RECORD_FIELD(bool, ResultValid, false)
    RECORD_FIELD(QString, CheckSum, QString())
    RECORD_FIELD(int, ContestantId, 0)
    // Base64 of the portrait file.
    RECORD_FIELD(QString, Avatar, QString())
    // Number of results stored for the entry.
    RECORD_FIELD(int, AttemptCount, 0)
};

#endif // RECORDS_REPORTINFO_H
