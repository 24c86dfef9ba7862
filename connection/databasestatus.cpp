#include "connection/databasestatus.h"

#include <QCoreApplication>

DatabaseStatus *DatabaseStatus::instance()
{
    // Built on first use by whichever thread runs a statement first; it
    // belongs to the application's thread so queued receivers work.
    static DatabaseStatus *status = [] {
        auto *created = new DatabaseStatus;
        if (QCoreApplication *app = QCoreApplication::instance())
            created->moveToThread(app->thread());
        return created;
    }();
    return status;
}

DatabaseStatus::DatabaseStatus() : QObject(nullptr) {}

void DatabaseStatus::watch(const QString &host, int port, const QString &databaseName)
{
    const std::lock_guard<std::mutex> locker(m_lock);
    m_watching = true;
    m_host = host;
    m_port = port;
    m_databaseName = databaseName;
}

bool DatabaseStatus::isWatched(const QSqlDatabase &db) const
{
    if (db.driverName() != QLatin1String("QMYSQL"))
        return false;
    if (!m_watching)
        return true;
    return db.hostName() == m_host && db.port() == m_port && db.databaseName() == m_databaseName;
}

void DatabaseStatus::reportReachable(const QSqlDatabase &db)
{
    {
        const std::lock_guard<std::mutex> locker(m_lock);
        if (m_reachable || !isWatched(db))
            return;
        m_reachable = true;
    }
    emit reachable();
}

void DatabaseStatus::reportUnreachable(const QSqlDatabase &db)
{
    {
        const std::lock_guard<std::mutex> locker(m_lock);
        if (!m_reachable || !isWatched(db))
            return;
        m_reachable = false;
    }
    emit unreachable();
}

bool DatabaseStatus::isReachable() const
{
    const std::lock_guard<std::mutex> locker(m_lock);
    return m_reachable;
}
