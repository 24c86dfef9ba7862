#ifndef CONNECTION_SQLQUERY_H
#define CONNECTION_SQLQUERY_H

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVector>

// One statement, run the one way every database class runs its statements:
// prepared on the class's own handle, each value bound by the name the
// statement uses (":IDKhoaHoc"), executed, and a failure logged at warning
// level with the statement's name and the database's error. Reading the rows
// is QSqlQuery's own (next, value, ...).
//
// A lost connection (client errors 2006 and 2013, "server has gone away",
// "lost connection", a closed handle) is reopened once with the handle's own
// settings and the statement run again once. Writes are guarded by the
// entry's state (a start only from "not started", a result only "in the
// examination"), so running one again cannot store twice. The caller holds
// its connection's lock, as for every statement.
class SqlQuery : public QSqlQuery
{
public:
    // Prepares `statement` on `db`; `name` says which statement a log line
    // is about and must outlive the query (a literal).
    SqlQuery(const QSqlDatabase &db, const char *name, const QString &statement);

    // Binds `value` to `placeholder`; binding a placeholder again replaces
    // its value, so a prepared statement can run once per row.
    void bind(const QString &placeholder, const QVariant &value);

    // Runs the statement with the values bound so far. False (logged) when
    // it could not be prepared or run, also after reopening a lost
    // connection.
    bool exec();

    // The last exec() failed because the database server could not be
    // reached (refused, gone away, lost, timed out), not because of the
    // statement.
    bool unreachable() const { return m_unreachable; }

private:
    bool run();
    bool reopen();

    QSqlDatabase m_db;
    const char *m_name;
    QString m_statement;
    QVector<QPair<QString, QVariant>> m_values;
    bool m_prepared = false;
    bool m_unreachable = false;
};

#endif // CONNECTION_SQLQUERY_H
