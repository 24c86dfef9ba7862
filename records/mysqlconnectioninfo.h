#ifndef RECORDS_MYSQLCONNECTIONINFO_H
#define RECORDS_MYSQLCONNECTIONINFO_H

#include "records/recordfield.h"

#include <QString>

// One MySQL connection's settings, as its configuration file gives them.
class MySqlConnectionInfo
{
    RECORD_FIELD(QString, Host, QString())
    RECORD_FIELD(int, Port, 0)
    RECORD_FIELD(QString, DbName, QString())
    RECORD_FIELD(QString, UserName, QString())
    RECORD_FIELD(QString, Password, QString())
};

#endif // RECORDS_MYSQLCONNECTIONINFO_H
