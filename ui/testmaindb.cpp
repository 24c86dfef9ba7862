#include "ui/testmaindb.h"
#include "ui_testmaindb.h"

#include "common/constants.h"
#include "server/business/businesscontroller.h"
#include "ui/customerbox.h"

TestMainDb::TestMainDb(QWidget *parent)
    : QDialog(parent),
      ui(new Ui::TestMainDb),
      m_controller(BusinessController::getInstance()),
      m_box(nullptr)
{
    ui->setupUi(this);
    m_box = new CustomerBox(this);
}

TestMainDb::~TestMainDb()
{
    delete ui;
}

void TestMainDb::showConnectionInfo()
{
    // The connection keeps its handle to itself; its settings are those of
    // the connection registered under its name (on this, the GUI thread).
    m_db = m_controller->getMySqlConnection() ? QSqlDatabase::database(MYSQL_CONNECTION_NAME, false)
                                              : QSqlDatabase();
    ui->lbHostName->setText(m_db.hostName());
    ui->lbPort->setText(QString::number(m_db.port()));
    ui->lbDbName->setText(m_db.databaseName());
    ui->lbUsername->setText(m_db.userName());
    ui->lbPassword->setText(m_db.password());
    setModal(true);
    show();
}

void TestMainDb::on_pbTestDbConnection_clicked()
{
    // Tried on a connection of its own: opening the server's connection
    // again would close it first, and a failed or slow attempt would leave
    // the server without its database for the rest of the run.
    const QString probeName = MYSQL_CONNECTION_NAME + "-test";
    bool opened = false;
    {
        // With the connection's time-out: an unreachable host is reported
        // within seconds.
        QSqlDatabase probe = QSqlDatabase::cloneDatabase(m_db, probeName);
        opened = probe.open();
        probe.close();
    }
    QSqlDatabase::removeDatabase(probeName);

    m_box->setTitle("Thông tin");
    m_box->setContent(opened ? "Kết nối cơ sở dữ liệu mô phỏng thành công"
                             : "Kết nối cơ sở dữ liệu mô phỏng thất bại");
    m_box->setModal(true);
    m_box->show();
}
