#ifndef ORV_APP_CONTROLLER_H
#define ORV_APP_CONTROLLER_H

#include <QObject>
#include <QString>

class BusinessController;
class LoginDialog;
class MainWindow;
class SuperAdminWindow;

// Kept by main for the whole run: owns the three top-level windows, decides
// at start-up whether the server may run (listening port open, main
// database reachable) and routes a login to the window of the account's
// role.
class Controller : public QObject
{
    Q_OBJECT

public:
    // The first window once the server runs: the main window, or the login
    // dialog (orvserver --login, the super-administrator's way in).
    enum class FirstWindow { Main, Login };

    // printPeriodMs: the shortest time between two automatic result sheets
    // (the main window's).
    explicit Controller(QObject *parent = nullptr, int printPeriodMs = 10000);
    ~Controller() override;

    // Waits for the listener to settle (holding the calling thread), then
    // shows the first window, or says why the server cannot run and queues
    // the end of the event loop with status 1.
    void start(FirstWindow first = FirstWindow::Main);

public slots:
    void on_validateLogin(QString userName, QString password);
    void on_signoutAdmin();
    void on_signoutSuperadmin();

private:
    BusinessController *m_businessController = nullptr;
    LoginDialog *m_loginDialog = nullptr;
    MainWindow *m_mainWindow = nullptr;
    SuperAdminWindow *m_superAdminWindow = nullptr;
};

#endif // ORV_APP_CONTROLLER_H
