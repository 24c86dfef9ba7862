#ifndef CONNECTION_DATABASESTATUS_H
#define CONNECTION_DATABASESTATUS_H

#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <mutex>

// Whether the main database server can be reached, as the statements of
// every thread find it: an outage starts with the first statement that
// cannot reach the server and ends with the first one that succeeds. Other
// failures (a refused value, a missing table) prove the server is there and
// change nothing.
//
// Only statements on the watched database count, so a theory-test database
// or the local video list cannot end an outage of the main one; until a
// database is watched, every MySQL statement counts.
class DatabaseStatus : public QObject
{
    Q_OBJECT

public:
    static DatabaseStatus *instance();

    void watch(const QString &host, int port, const QString &databaseName);

    // Called by the query helper after each statement on `db`.
    void reportReachable(const QSqlDatabase &db);
    void reportUnreachable(const QSqlDatabase &db);

    bool isReachable() const;

signals:
    // Emitted on the thread whose statement found the change.
    void unreachable();
    void reachable();

private:
    DatabaseStatus();
    bool isWatched(const QSqlDatabase &db) const;

    mutable std::mutex m_lock;
    bool m_watching = false;
    QString m_host;
    int m_port = 0;
    QString m_databaseName;
    bool m_reachable = true;
};

#endif // CONNECTION_DATABASESTATUS_H
