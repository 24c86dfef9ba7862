#ifndef ORV_UI_TESTAUXILIARYDB_H
#define ORV_UI_TESTAUXILIARYDB_H

#include <QDialog>
#include <QSqlDatabase>

namespace Ui {
class TestAuxiliaryDb;
}
class BusinessController;
class CustomerBox;

// Shows the settings of the server's theory-test database connection
// and tries them on request.
class TestAuxiliaryDb : public QDialog
{
    Q_OBJECT

public:
    explicit TestAuxiliaryDb(QWidget *parent = nullptr);
    ~TestAuxiliaryDb() override;

    // Takes the connection's current settings, shows them, and shows the
    // dialog modal.
    void showConnectionInfo();

private slots:
    void on_pbTestDbConnection_clicked();

private:
    QSqlDatabase m_db;
    Ui::TestAuxiliaryDb *ui;
    BusinessController *m_controller;
    CustomerBox *m_box;
};

#endif // ORV_UI_TESTAUXILIARYDB_H
