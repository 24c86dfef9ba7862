#include "ui/testmaindb.h"
#include "ui_testmaindb.h"

#include "common/constants.h"
#include "server/business/businesscontroller.h"
#include "ui/customerbox.h"
#include "ui/dbconnectiontest.h"

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
    DbConnectionTest::showSettings(ui, m_db);
    setModal(true);
    show();
}

void TestMainDb::on_pbTestDbConnection_clicked()
{
    const bool opened = DbConnectionTest::tryOpen(m_db, MYSQL_CONNECTION_NAME + "-test");

    m_box->setTitle("Thông tin");
    m_box->setContent(opened ? "Kết nối cơ sở dữ liệu mô phỏng thành công"
                             : "Kết nối cơ sở dữ liệu mô phỏng thất bại");
    m_box->setModal(true);
    m_box->show();
}
