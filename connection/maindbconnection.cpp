#include "connection/maindbconnection.h"

#include <QDebug>
#include <QMutexLocker>
#include <QSqlQuery>

MainDbConnection::MainDbConnection(QObject *parent)
    : MySqlConnection(parent)
{
}

int MainDbConnection::insertPerson(const Student &student)
{
    // Held across both statements: LAST_INSERT_ID belongs to the session, and
    // no other insert on this connection may come between them.
    QMutexLocker locker(&m_mutex);
    if (!insertNguoiLX(student))
        return 0;
    QSqlQuery query(m_db);
    if (!query.exec("SELECT LAST_INSERT_ID()") || !query.next()) {
        qDebug() << "MainDbConnection::insertPerson: no insert id" << query.lastError();
        return 0;
    }
    return query.value(0).toInt();
}
