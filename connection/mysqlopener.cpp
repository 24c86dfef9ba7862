#include "connection/mysqlopener.h"

#include <QDebug>
#include <QSqlQuery>

namespace MySqlOpener {

QString outOfConnectionsAdvice(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    if (code == QLatin1String("1040")
        || error.text().contains(QLatin1String("Too many connections"), Qt::CaseInsensitive))
        return QStringLiteral("the database server has no connection left (max_connections): each "
                              "exam terminal holds a connection of its own, so max_connections must be "
                              "above the number of terminals plus a few for the operator's window");
    // 1203: the server's max_user_connections; 1226: the account's own
    // MAX_USER_CONNECTIONS.
    if (code == QLatin1String("1203") || code == QLatin1String("1226"))
        return QStringLiteral("the database account has no connection left (max_user_connections): "
                              "each exam terminal holds a connection of its own, so the account's limit "
                              "must be above the number of terminals plus a few for the operator's window");
    return QString();
}

int ioTimeoutSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("ORV_DB_IO_TIMEOUT_SECONDS", &ok);
    return ok && seconds > 0 ? seconds : IO_TIMEOUT_SECONDS;
}

QSqlError open(QSqlDatabase &db, const QString &connectionName, const QString &host, int port,
               const QString &databaseName, const QString &userName, const QString &password)
{
    // Let go of a previous handle first, so replacing a connection of the
    // same name does not leave the caller on the removed one.
    db = QSqlDatabase();
    db = QSqlDatabase::addDatabase("QMYSQL", connectionName);
    db.setHostName(host);
    db.setPort(port);
    db.setDatabaseName(databaseName);
    db.setUserName(userName);
    db.setPassword(password);
    const QString io = QString::number(ioTimeoutSeconds());
    db.setConnectOptions("MYSQL_OPT_CONNECT_TIMEOUT=" + QString::number(CONNECT_TIMEOUT_SECONDS)
                         + ";MYSQL_OPT_READ_TIMEOUT=" + io + ";MYSQL_OPT_WRITE_TIMEOUT=" + io);
    if (db.open()) {
        const QSqlError charset = speakUtf8mb4(db);
        if (!charset.isValid())
            return QSqlError();
        db.close();
        return charset;
    }
    const QSqlError error = db.lastError();
    const QString advice = outOfConnectionsAdvice(error);
    if (!advice.isEmpty())
        qWarning().noquote() << "MySQL connection" << connectionName << "refused:" << advice << "("
                             << error.text() << ")";
    return error;
}

QSqlError speakUtf8mb4(QSqlDatabase &db)
{
    // The tables' own collation, so that two texts of a statement compare
    // as a column and a text do.
    QSqlQuery names(db);
    if (names.exec(QStringLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_unicode_ci")))
        return QSqlError();
    return names.lastError();
}

} // namespace MySqlOpener
