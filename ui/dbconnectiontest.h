#ifndef ORV_UI_DBCONNECTIONTEST_H
#define ORV_UI_DBCONNECTIONTEST_H

#include <QSqlDatabase>
#include <QString>

// What the two connection-test dialogs (main and theory-test database) share:
// their forms name the same labels, and both try the settings the same way.
namespace DbConnectionTest {

// Shows `db`'s settings on a form with the labels lbHostName, lbPort,
// lbDbName, lbUsername and lbPassword.
template <class Form>
void showSettings(Form *ui, const QSqlDatabase &db)
{
    ui->lbHostName->setText(db.hostName());
    ui->lbPort->setText(QString::number(db.port()));
    ui->lbDbName->setText(db.databaseName());
    ui->lbUsername->setText(db.userName());
    ui->lbPassword->setText(db.password());
}

// Tries `db`'s settings on a connection of its own, registered as `probeName`
// for the attempt only: opening the server's connection again would close it
// first, and a failed or slow attempt would leave the server without that
// database for the rest of the run. With the connection's time-out, so an
// unreachable host is reported within seconds.
bool tryOpen(const QSqlDatabase &db, const QString &probeName);

} // namespace DbConnectionTest

#endif // ORV_UI_DBCONNECTIONTEST_H
