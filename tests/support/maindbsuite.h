#ifndef TESTS_SUPPORT_MAINDBSUITE_H
#define TESTS_SUPPORT_MAINDBSUITE_H

// The base of the suites that set up a main database: a fresh database named
// after the suite, reached both through the class under test and through an
// administrative handle that sets up rows and checks what was written.

#include "tests/support/testdb.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

class MainDbSuite : public QObject
{
protected:
    explicit MainDbSuite(const QString &database) : m_database(database) {}

    // The main schema in a fresh database, and the administrative handle
    // "admin" to it. False, with the reason in `error`, when either fails.
    bool createMainDb(QString *error)
    {
        if (!TestDb::recreateMain(m_database, error))
            return false;
        m_admin = TestDb::open("admin", m_database);
        if (!m_admin.isOpen()) {
            *error = "admin connection: " + m_admin.lastError().text();
            return false;
        }
        return true;
    }

    void closeMainDb() { m_admin.close(); }

    // Empties the six tables between cases; keeps the schema.
    bool clearMainDb()
    {
        for (const char *table : {"khoathi", "thisinh", "khoathi_thisinh", "tinh", "donvi", "taikhoan"}) {
            if (!TestDb::exec(m_admin, QString("DELETE FROM %1").arg(table)))
                return false;
        }
        return true;
    }

    // Opens a connection of a class under test (anything with the database
    // classes' initDatabase) to the suite's database, as the server's account.
    template <class Connection>
    QSqlError openConnection(Connection *connection, const QString &connectionName) const
    {
        const TestDb::Server s = TestDb::server();
        return connection->initDatabase(connectionName, s.host, s.port, m_database, s.user, s.password);
    }

    bool exec(const QString &sql) { return TestDb::exec(m_admin, sql); }
    int count(const QString &sql) { return TestDb::count(m_admin, sql); }
    QVariant scalar(const QString &sql) { return TestDb::scalar(m_admin, sql); }
    int killSessions() { return TestDb::killSessions(m_admin, m_database); }

    const QString m_database;
    QSqlDatabase m_admin;
};

#endif // TESTS_SUPPORT_MAINDBSUITE_H
