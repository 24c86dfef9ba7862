#include "connection/sqlquery.h"

#include "connection/databasestatus.h"
#include "connection/faultpoint.h"
#include "connection/mysqlopener.h"
#include "connection/sqlfailurewatch.h"

#include <QDebug>
#include <QSqlError>

namespace {

// The client library's "server has gone away" and "lost connection during
// query" (the server restarted, ended the session, or dropped it after
// wait_timeout or a packet over max_allowed_packet).
bool isConnectionLost(const QSqlDatabase &db, const QSqlError &error)
{
    if (!db.isValid())
        return false;
    if (!db.isOpen())
        return true;
    const QString code = error.nativeErrorCode();
    if (code == QLatin1String("2006") || code == QLatin1String("2013"))
        return true;
    const QString text = error.text();
    return text.contains(QLatin1String("server has gone away"), Qt::CaseInsensitive)
           || text.contains(QLatin1String("lost connection"), Qt::CaseInsensitive);
}

bool isUnreachable(const QSqlDatabase &db, const QSqlError &error)
{
    return isConnectionLost(db, error) || SqlQuery::isUnreachableError(error);
}

// The server's errors of SQLSTATE class 22 (data exception) that strict
// mode raises for a value: out of range (1264, 1690), an incorrect value
// (1292, 1366, 1367, 1411), division by zero (1365), too long (1406), a
// date-time overflow (1441).
bool isDataError(const QSqlError &error)
{
    static const char *const codes[] = {"1264", "1292", "1365", "1366", "1367",
                                        "1406", "1411", "1441", "1690"};
    for (const char *code : codes) {
        if (error.nativeErrorCode() == QLatin1String(code))
            return true;
    }
    return false;
}

} // namespace

// The client library's "can't connect" (no server on the port, an unknown
// host, a connect or read that timed out) and its losses.
bool SqlQuery::isUnreachableError(const QSqlError &error)
{
    static const char *const codes[] = {"2002", "2003", "2005", "2006", "2013", "2055"};
    for (const char *code : codes) {
        if (error.nativeErrorCode() == QLatin1String(code))
            return true;
    }
    const QString text = error.text();
    return text.contains(QLatin1String("can't connect"), Qt::CaseInsensitive)
           || text.contains(QLatin1String("timed out"), Qt::CaseInsensitive)
           || text.contains(QLatin1String("server has gone away"), Qt::CaseInsensitive)
           || text.contains(QLatin1String("lost connection"), Qt::CaseInsensitive);
}

SqlQuery::SqlQuery(const QSqlDatabase &db, const char *name, const QString &statement)
    : QSqlQuery(db), m_db(db), m_name(name), m_statement(statement)
{
    m_prepared = prepare(m_statement);
}

void SqlQuery::bind(const QString &placeholder, const QVariant &value)
{
    for (auto &bound : m_values) {
        if (bound.first == placeholder) {
            bound.second = value;
            bindValue(placeholder, value);
            return;
        }
    }
    m_values.append(qMakePair(placeholder, value));
    bindValue(placeholder, value);
}

bool SqlQuery::run()
{
    if (!m_prepared) {
        m_prepared = prepare(m_statement);
        if (!m_prepared)
            return false;
        for (const auto &bound : qAsConst(m_values))
            bindValue(bound.first, bound.second);
    }
    return QSqlQuery::exec();
}

bool SqlQuery::reopen()
{
    // The handle keeps its settings: closing and opening it again makes a
    // new session to the same server, database and account.
    m_db.close();
    if (!m_db.open()) {
        qWarning().noquote() << m_name << ": the database connection could not be reopened:"
                             << m_db.lastError().text();
        return false;
    }
    // A new session speaks the driver's choice again.
    const QSqlError charset =
        m_db.driverName() == QLatin1String("QMYSQL") ? MySqlOpener::speakUtf8mb4(m_db) : QSqlError();
    if (charset.isValid()) {
        qWarning().noquote() << m_name << ": the reopened database connection could not be set to utf8mb4:"
                             << charset.text();
        m_db.close();
        return false;
    }
    // The statement prepared on the old session is gone with it.
    QSqlQuery::operator=(QSqlQuery(m_db));
    m_prepared = false;
    return true;
}

bool SqlQuery::exec()
{
    m_failure = Failure::None;
    m_ranAgain = false;
    const FaultPoint::Fault fault = FaultPoint::take(m_name);
    FaultPoint::killIf(fault, FaultPoint::KillBefore);
    if (fault == FaultPoint::Fail) {
        m_failure = Failure::Unreachable;
        SqlFailureWatch::countFailure(true);
        DatabaseStatus::instance()->reportUnreachable(m_db);
        qWarning().noquote() << m_name << "failed: a fault set for it (ORV_FAULT_POINT)";
        return false;
    }
    bool ran = run();
    FaultPoint::killIf(fault, FaultPoint::KillAfter);
    if (ran && fault == FaultPoint::LoseReply) {
        // As a reply lost on the way: the statement has run, the
        // connection is gone.
        m_db.close();
        ran = false;
    }
    if (ran) {
        DatabaseStatus::instance()->reportReachable(m_db);
        return true;
    }
    bool unreachable = isUnreachable(m_db, lastError());
    if (isConnectionLost(m_db, lastError())) {
        qWarning().noquote() << m_name << "lost the database connection (" + lastError().text()
                                              + "): reopening it and running the statement again";
        if (!reopen()) {
            unreachable = true;
        } else {
            m_ranAgain = true;
            if (run()) {
                DatabaseStatus::instance()->reportReachable(m_db);
                return true;
            }
            unreachable = isUnreachable(m_db, lastError());
        }
    }
    if (unreachable)
        m_failure = Failure::Unreachable;
    else
        m_failure = isDataError(lastError()) ? Failure::Data : Failure::Other;
    SqlFailureWatch::countFailure(unreachable);
    if (unreachable)
        DatabaseStatus::instance()->reportUnreachable(m_db);
    qWarning().noquote() << m_name << "failed:" << lastError().text();
    return false;
}
