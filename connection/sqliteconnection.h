#ifndef CONNECTION_SQLITECONNECTION_H
#define CONNECTION_SQLITECONNECTION_H

#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>

// The local SQLite file "orv.db" that lists the exam videos to distribute.
class SqliteConnection : public QObject
{
    Q_OBJECT

public:
    explicit SqliteConnection(QObject *parent = nullptr);

    // Opens "orv.db" in the working folder, created empty when missing. No
    // error when it opened, else the connection's last error.
    QSqlError initDatabase();

    // The paths of the listed videos whose name begins with "chapter" (in any
    // case), ordered by chapter then number, each below the video folder.
    // Empty when the list cannot be read.
    QStringList getVideoList();

private:
    QSqlDatabase m_db;
};

#endif // CONNECTION_SQLITECONNECTION_H
