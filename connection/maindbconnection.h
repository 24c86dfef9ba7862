#ifndef CONNECTION_MAINDBCONNECTION_H
#define CONNECTION_MAINDBCONNECTION_H

#include "connection/mysqlconnection.h"
#include "records/student.h"

// The business controller's main-database connection. Imports must link an
// entry to the person row they have just written, and several persons may
// share an identity number and name: looking the person up again would pick
// an older row. This adds an insert that reports the new row's key.
class MainDbConnection : public MySqlConnection
{
    Q_OBJECT

public:
    explicit MainDbConnection(QObject *parent = nullptr);

    // Writes the person (as insertNguoiLX) and returns its IDThiSinh; 0 when
    // the row was not written.
    int insertPerson(const Student &student);
};

#endif // CONNECTION_MAINDBCONNECTION_H
