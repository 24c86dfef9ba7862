#include "connection/maindbconnection.h"

#include "connection/sqlquery.h"

MainDbConnection::MainDbConnection(QObject *parent)
    : MySqlConnection(parent)
{
}

int MainDbConnection::insertPerson(const Student &student)
{
    // Held across both statements: LAST_INSERT_ID belongs to the session, and
    // no other insert on this connection may come between them.
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    if (!insertNguoiLX(student))
        return 0;
    SqlQuery query(m_db, "MainDbConnection::insertPerson", "SELECT LAST_INSERT_ID()");
    if (!query.exec() || !query.next())
        return 0;
    return query.value(0).toInt();
}
