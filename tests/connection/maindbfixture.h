#ifndef TESTS_CONNECTION_MAINDBFIXTURE_H
#define TESTS_CONNECTION_MAINDBFIXTURE_H

// Shared by the main-database suites: a fresh database per suite, reached
// both through the class under test and through an administrative handle
// that sets up rows and checks what was written.

#include "connection/mysqlconnectionbase.h"
#include "tests/support/testdb.h"

#include <QSqlQuery>
#include <QStringList>
#include <QTest>
#include <QVariant>

namespace MainDbFixture {

inline QSqlError open(MySqlConnectionBase *connection, const QString &connectionName,
                      const QString &database)
{
    const TestDb::Server s = TestDb::server();
    return connection->initDatabase(connectionName, s.host, s.port, database, s.user, s.password);
}

// Empties the six tables between cases; keeps the schema.
inline bool clear(QSqlDatabase db)
{
    for (const char *table : {"khoathi", "thisinh", "khoathi_thisinh", "tinh", "donvi", "taikhoan"}) {
        if (!TestDb::exec(db, QString("DELETE FROM %1").arg(table)))
            return false;
    }
    return true;
}

// The first column of the first row of `sql`, or an invalid value.
inline QVariant scalar(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        return QVariant();
    return q.value(0);
}

} // namespace MainDbFixture

#endif // TESTS_CONNECTION_MAINDBFIXTURE_H
