#include "connection/mysqlopener.h"

namespace MySqlOpener {

QSqlError open(QSqlDatabase &db, const QString &connectionName, const QString &host, int port,
               const QString &databaseName, const QString &userName, const QString &password)
{
    // Let go of a previous handle first, so replacing a connection of the
    // same name does not leave the caller on the removed one.
    db = QSqlDatabase();
    db = QSqlDatabase::addDatabase("QMYSQL", connectionName);
    db.setHostName(host);
    db.setPort(port);
    db.setDatabaseName(databaseName);
    db.setUserName(userName);
    db.setPassword(password);
    db.setConnectOptions("MYSQL_OPT_CONNECT_TIMEOUT=" + QString::number(CONNECT_TIMEOUT_SECONDS));
    if (!db.open())
        return db.lastError();
    return QSqlError();
}

} // namespace MySqlOpener
