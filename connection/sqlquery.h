#ifndef CONNECTION_SQLQUERY_H
#define CONNECTION_SQLQUERY_H

#include <QSqlDatabase>
#include <QSqlError>
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
    // Why the last exec() failed.
    enum class Failure {
        None,
        // The database server could not be reached (refused, gone away,
        // lost, timed out), not because of the statement.
        Unreachable,
        // The values themselves (SQLSTATE class 22: out of range, wrong
        // value, too long): running it again cannot mend it.
        Data,
        // Anything else the server said (a lock wait timeout, a deadlock, a
        // table missing for a moment): it may well run another time.
        Other,
    };

    // Whether `error` (of a statement or of an opening) says the database
    // server could not be reached, rather than what it answered.
    static bool isUnreachableError(const QSqlError &error);

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
    bool unreachable() const { return m_failure == Failure::Unreachable; }
    Failure failure() const { return m_failure; }
    // The last exec() ran the statement a second time on a reopened
    // connection: its first try may have taken effect before the
    // connection was lost.
    bool ranAgain() const { return m_ranAgain; }

private:
    bool run();
    bool reopen();

    QSqlDatabase m_db;
    const char *m_name;
    QString m_statement;
    QVector<QPair<QString, QVariant>> m_values;
    bool m_prepared = false;
    Failure m_failure = Failure::None;
    bool m_ranAgain = false;
};

#endif // CONNECTION_SQLQUERY_H
