#include "connection/sqliteconnection.h"

#include "common/constants.h"
#include "connection/sqlquery.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

SqliteConnection::SqliteConnection(QObject *parent)
    : QObject(parent)
{
}

QSqlError SqliteConnection::initDatabase()
{
    m_db = QSqlDatabase::addDatabase("QSQLITE", SQLITE_CONNECTION_NAME);
    m_db.setDatabaseName(SQLITE_DB_NAME);
    m_db.setConnectOptions("connect_timeout=5");
    if (!m_db.open())
        return m_db.lastError();
    return QSqlError();
}

QStringList SqliteConnection::getVideoList()
{
    QStringList videos;
    SqlQuery query(m_db, "SqliteConnection::getVideoList",
                   "select * from video where name like :name order by chapter, th");
    query.bind(":name", "chapter%");
    if (!query.exec())
        return videos;
    const int nameColumn = query.record().indexOf("name");
    while (query.next())
        videos << VIDEO_FOLDER + "/" + query.value(nameColumn).toString();
    return videos;
}
