#ifndef CONNECTION_MYSQLOPENER_H
#define CONNECTION_MYSQLOPENER_H

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// Registers (or replaces) the MySQL connection `connectionName` with its
// settings and opens it, waiting at most CONNECT_TIMEOUT_SECONDS for the
// server: an unreachable server must not hold the caller for the system's
// TCP time-out. `db` is the caller's own handle to it, set even when the
// opening fails. No error when it opened, else the driver's error; a refusal
// because the server (or the account) has no connection left is logged at
// warning level, naming the setting to raise.
namespace MySqlOpener {

const int CONNECT_TIMEOUT_SECONDS = 10;
// A server that stops answering without closing the connection (a cut
// network) counts as unreachable once a read or write waits this long.
const int IO_TIMEOUT_SECONDS = 30;

// IO_TIMEOUT_SECONDS, or the value of ORV_DB_IO_TIMEOUT_SECONDS when set:
// the process suites shorten it so that a cut network is found quickly.
int ioTimeoutSeconds();

// What to tell the operator when `error` is a refusal for want of
// connections (server error 1040; 1203 and 1226 for an account's limit);
// empty for any other error.
QString outOfConnectionsAdvice(const QSqlError &error);

QSqlError open(QSqlDatabase &db, const QString &connectionName, const QString &host, int port,
               const QString &databaseName, const QString &userName, const QString &password);

// Has the open connection `db` speak utf8mb4, as its tables do. The driver
// asks for the 3-byte "utf8" whenever the client library's version number
// is below MySQL 5.5.3's, and MariaDB's client library numbers itself from
// 3.0: a 4-byte character would be refused ("Incorrect string value") or
// read back as "?". Needed after every opening, reopenings included. The
// server's error when it fails.
QSqlError speakUtf8mb4(QSqlDatabase &db);

} // namespace MySqlOpener

#endif // CONNECTION_MYSQLOPENER_H
