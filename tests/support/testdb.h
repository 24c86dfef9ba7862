#ifndef TESTS_SUPPORT_TESTDB_H
#define TESTS_SUPPORT_TESTDB_H

// The private MariaDB that scripts/test starts, as the suites reach it.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace TestDb {

struct Server
{
    QString host;
    int port = 0;
    QString user;
    QString password;
};

// The server from ORV_DB_HOST, ORV_DB_PORT, ORV_DB_USER and ORV_DB_PASS;
// port 0 when they are not set.
Server server();

// The absolute path of a file of the source tree, e.g. "sql/main_schema.sql".
QString sourcePath(const QString &relative);

// Drops database `name` if it exists, creates it anew and runs the statements
// of each SQL file into it. On failure returns false and says why in `error`.
bool recreate(const QString &name, const QStringList &sqlFiles, QString *error);

// The main schema loaded into a fresh database `name`.
bool recreateMain(const QString &name, QString *error);

// An administrative connection to database `name` (empty: no database).
QSqlDatabase open(const QString &connectionName, const QString &name = QString());

// Runs one statement on `db`; false (and a warning with the driver's error)
// when it fails.
bool exec(QSqlDatabase db, const QString &sql);

// The first column of the first row of `sql`, or an invalid value.
QVariant scalar(QSqlDatabase db, const QString &sql);

// Ends every session on database `name` but the caller's own (KILL), as an
// administrator or a restarting server would; the number ended, -1 on error.
int killSessions(QSqlDatabase db, const QString &name);

// Counts the rows of `sql` ("SELECT COUNT(*) ..."), -1 on error.
int count(QSqlDatabase db, const QString &sql);

// Creates (or re-creates) account `user` with `password` that may only read
// database `name`.
bool createReadOnlyUser(const QString &user, const QString &password, const QString &name);

} // namespace TestDb

#endif // TESTS_SUPPORT_TESTDB_H
