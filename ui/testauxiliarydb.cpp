#include "ui/testauxiliarydb.h"
#include "ui_testauxiliarydb.h"

#include "common/constants.h"
#include "connection/auxiliarydb.h"
#include "server/business/businesscontroller.h"
#include "ui/customerbox.h"

TestAuxiliaryDb::TestAuxiliaryDb(QWidget *parent)
    : QDialog(parent),
      ui(new Ui::TestAuxiliaryDb),
      m_controller(BusinessController::getInstance()),
      m_box(nullptr)
{
    ui->setupUi(this);
    m_box = new CustomerBox(this);
}

TestAuxiliaryDb::~TestAuxiliaryDb()
{
    delete ui;
}

void TestAuxiliaryDb::showConnectionInfo()
{
    AuxiliaryDb *connection = m_controller->getAuxiliaryDb();
    m_db = connection ? connection->getDatabase() : QSqlDatabase();
    ui->lbHostName->setText(m_db.hostName());
    ui->lbPort->setText(QString::number(m_db.port()));
    ui->lbDbName->setText(m_db.databaseName());
    ui->lbUsername->setText(m_db.userName());
    ui->lbPassword->setText(m_db.password());
    setModal(true);
    show();
}

void TestAuxiliaryDb::on_pbTestDbConnection_clicked()
{
    // Tried on a connection of its own: opening the server's connection
    // again would close it first, and a failed or slow attempt would leave
    // the theory results unread for the rest of the run.
    const QString probeName = AUX_CONNECTION_NAME + "-test";
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
    m_box->setContent(opened ? "Kết nối cơ sở dữ liệu lý thuyết thành công"
                             : "Kết nối cơ sở dữ liệu lý thuyết thất bại");
    m_box->setModal(true);
    m_box->show();
}
