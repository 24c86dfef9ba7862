#ifndef ORV_UI_MAINWINDOW_H
#define ORV_UI_MAINWINDOW_H

#include "platform/thread.h"
#include "ui/customerbox.h"

#include <QMainWindow>

class AboutDialog;
class BusinessController;
class BusinessControllerClient;
class ConfigDialog;
class ConfirmDialog;
class QCloseEvent;
class TestAuxiliaryDb;
class TestMainDb;

namespace Ui {
class MainWindow;
}

// The operator's working window of the exam server. Its constructor brings
// the server up (the business controllers, and with them the listener and
// the databases); the window stays until the exit menu, and its destructor
// closes every terminal connection.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    // Stops and joins the background loops first, then closes the listener
    // and every terminal connection.
    ~MainWindow() override;

    void initModel();
    void showMainWindow();
    // What the exit menu's Yes does: close every window and end the event
    // loop with status 0. Also the way out for SIGINT and SIGTERM.
    static void exitProgram();

signals:
    void notifySignoutAdmin();
    void notifyUpdateAllStudentTable();
    void notifyUpdateResultOfFriendDB();

private slots:
    void on_actionInfo_triggered();
    void on_actionTestAuxiliaryDbConnection_triggered();
    void onUpdateResultOfFriendDB();
    void on_actionTestMainDbConnection_triggered();
    void on_actionConfigSystemFunction_triggered();
    void on_actionExit_triggered();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startTheoryRefreshLoop(int seconds);
    void clearPdfFolder();

    Ui::MainWindow *ui;
    BusinessController *m_businessController = nullptr;
    CustomerBox m_customerBox;
    AboutDialog *m_aboutDialog = nullptr;
    ConfirmDialog *m_confirmDialog = nullptr;
    TestAuxiliaryDb *m_testAuxiliaryDb = nullptr;
    TestMainDb *m_testMainDb = nullptr;
    ConfigDialog *m_configDialog = nullptr;
    BusinessControllerClient *m_businessControllerClient = nullptr;
    // Emits notifyUpdateResultOfFriendDB every n seconds until stopped.
    Thread m_theoryRefreshThread;
};

#endif // ORV_UI_MAINWINDOW_H
