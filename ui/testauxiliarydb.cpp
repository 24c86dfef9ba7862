#include "ui/testauxiliarydb.h"
#include "ui_testauxiliarydb.h"

#include "common/constants.h"
#include "connection/auxiliarydb.h"
#include "server/business/businesscontroller.h"
#include "ui/customerbox.h"
#include "ui/dbconnectiontest.h"

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
    DbConnectionTest::showSettings(ui, m_db);
    setModal(true);
    show();
}

void TestAuxiliaryDb::on_pbTestDbConnection_clicked()
{
    const bool opened = DbConnectionTest::tryOpen(m_db, AUX_CONNECTION_NAME + "-test");

    m_box->setTitle("Thông tin");
    m_box->setContent(opened ? "Kết nối cơ sở dữ liệu lý thuyết thành công"
                             : "Kết nối cơ sở dữ liệu lý thuyết thất bại");
    m_box->setModal(true);
    m_box->show();
}
