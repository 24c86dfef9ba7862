#include "connection/maindbconnection.h"

MainDbConnection::MainDbConnection(QObject *parent)
    : MySqlConnection(parent)
{
}

int MainDbConnection::insertPerson(const Student &student)
{
    return insertPersonRow(student);
}
