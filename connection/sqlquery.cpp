#include "connection/sqlquery.h"

#include <QDebug>
#include <QSqlError>

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

bool SqlQuery::exec()
{
    if (m_prepared && QSqlQuery::exec())
        return true;
    qWarning().noquote() << m_name << "failed:" << lastError().text();
    return false;
}
