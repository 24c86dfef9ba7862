#include "tests/support/testdb.h"

#include <QDebug>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace TestDb {

Server server()
{
    Server s;
    s.host = qEnvironmentVariable("ORV_DB_HOST", "127.0.0.1");
    s.port = qEnvironmentVariableIntValue("ORV_DB_PORT");
    s.user = qEnvironmentVariable("ORV_DB_USER");
    s.password = qEnvironmentVariable("ORV_DB_PASS");
    return s;
}

QString sourcePath(const QString &relative)
{
    return QStringLiteral(ORV_SOURCE_DIR "/") + relative;
}

QSqlDatabase open(const QString &connectionName, const QString &name)
{
    const Server s = server();
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? QSqlDatabase::database(connectionName, false)
                          : QSqlDatabase::addDatabase("QMYSQL", connectionName);
    db.setHostName(s.host);
    db.setPort(s.port);
    db.setUserName(s.user);
    db.setPassword(s.password);
    db.setDatabaseName(name);
    if (!db.isOpen() && !db.open())
        qWarning() << "TestDb::open" << connectionName << db.lastError().text();
    return db;
}

bool exec(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        qWarning() << "TestDb::exec" << sql.left(200) << q.lastError().text();
        return false;
    }
    return true;
}

QVariant scalar(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        return QVariant();
    return q.value(0);
}

int killSessions(QSqlDatabase db, const QString &name)
{
    QSqlQuery sessions(db);
    sessions.prepare("SELECT ID FROM information_schema.PROCESSLIST WHERE DB = :db AND ID <> CONNECTION_ID()");
    sessions.bindValue(":db", name);
    if (!sessions.exec()) {
        qWarning() << "TestDb::killSessions" << sessions.lastError().text();
        return -1;
    }
    int ended = 0;
    while (sessions.next()) {
        QSqlQuery kill(db);
        // A session that ended meanwhile is no error.
        if (kill.exec("KILL " + QString::number(sessions.value(0).toLongLong())))
            ++ended;
    }
    return ended;
}

int count(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next()) {
        qWarning() << "TestDb::count" << sql << q.lastError().text();
        return -1;
    }
    return q.value(0).toInt();
}

// Our schema files hold no procedures, so a statement ends at a ";" that
// closes a line; "--" lines are comments.
static QStringList statementsOf(const QString &text)
{
    QStringList statements;
    QString current;
    for (const QString &line : text.split('\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith("--") || trimmed.isEmpty())
            continue;
        current += line + '\n';
        if (trimmed.endsWith(';')) {
            statements << current.trimmed();
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

bool recreate(const QString &name, const QStringList &sqlFiles, QString *error)
{
    if (server().port == 0) {
        *error = "ORV_DB_PORT is not set: run the suites through scripts/test";
        return false;
    }
    const QString conn = "testdb-admin-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = true;
    {
        QSqlDatabase db = open(conn);
        if (!db.isOpen()) {
            *error = "cannot reach the test server: " + db.lastError().text();
            ok = false;
        }
        ok = ok && exec(db, QString("DROP DATABASE IF EXISTS `%1`").arg(name))
             && exec(db, QString("CREATE DATABASE `%1` CHARACTER SET utf8mb4").arg(name))
             && exec(db, QString("USE `%1`").arg(name));
        for (const QString &file : sqlFiles) {
            if (!ok)
                break;
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly)) {
                *error = "cannot read " + file;
                ok = false;
                break;
            }
            for (const QString &statement : statementsOf(QString::fromUtf8(f.readAll()))) {
                if (!exec(db, statement)) {
                    *error = "statement failed in " + file + ": " + statement.left(80);
                    ok = false;
                    break;
                }
            }
        }
        if (!ok && error->isEmpty())
            *error = "could not create database " + name;
        db.close();
    }
    QSqlDatabase::removeDatabase(conn);
    return ok;
}

bool recreateMain(const QString &name, QString *error)
{
    return recreate(name, {sourcePath("sql/main_schema.sql")}, error);
}

bool createReadOnlyUser(const QString &user, const QString &password, const QString &name)
{
    const QString conn = "testdb-grant-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok;
    {
        QSqlDatabase db = open(conn);
        ok = db.isOpen();
        for (const QString host : {"127.0.0.1", "localhost"}) {
            ok = ok && exec(db, QString("DROP USER IF EXISTS '%1'@'%2'").arg(user, host))
                 && exec(db, QString("CREATE USER '%1'@'%2' IDENTIFIED BY '%3'").arg(user, host, password))
                 && exec(db, QString("GRANT SELECT ON `%1`.* TO '%2'@'%3'").arg(name, user, host));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(conn);
    return ok;
}

} // namespace TestDb
