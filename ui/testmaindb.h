#ifndef ORV_UI_TESTMAINDB_H
#define ORV_UI_TESTMAINDB_H

#include <QDialog>
#include <QSqlDatabase>

namespace Ui {
class TestMainDb;
}
class BusinessController;
class CustomerBox;

// Shows the settings of the server's main (simulation) database connection
// and tries them on request.
class TestMainDb : public QDialog
{
    Q_OBJECT

public:
    explicit TestMainDb(QWidget *parent = nullptr);
    ~TestMainDb() override;

    // Takes the connection's current settings, shows them, and shows the
    // dialog modal.
    void showConnectionInfo();

private slots:
    void on_pbTestDbConnection_clicked();

private:
    QSqlDatabase m_db;
    Ui::TestMainDb *ui;
    BusinessController *m_controller;
    CustomerBox *m_box;
};

#endif // ORV_UI_TESTMAINDB_H
