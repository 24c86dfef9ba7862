#include "app/controller.h"

#include "app/programstart.h"
#include "server/business/businesscontroller.h"
#include "server/business/serverrun.h"
#include "server/network/iocontroller.h"
#include "ui/logindialog.h"
#include "ui/mainwindow.h"
#include "ui/superadminwindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

// Roles of the accounts table that open a window.
const int ROLE_ADMIN = 2;
const int ROLE_SUPER_ADMIN = 3;

// A start-up failure: the operator reads why, then the program ends with
// status 1 as soon as the event loop runs, so a launcher sees the failure.
void refuseToRun(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, "Cảnh báo", text, QMessageBox::Ok);
    QApplication::closeAllWindows();
    QTimer::singleShot(0, qApp, []() { QCoreApplication::exit(1); });
}

} // namespace

Controller::Controller(QObject *parent, int printPeriodMs) : QObject(parent)
{
    m_loginDialog = new LoginDialog();
    m_mainWindow = new MainWindow(nullptr, printPeriodMs);
    m_superAdminWindow = new SuperAdminWindow();
    m_businessController = BusinessController::getInstance();
    m_mainWindow->initModel();

    connect(m_loginDialog, &LoginDialog::notifyValidateLogin, this, &Controller::on_validateLogin);
    connect(m_mainWindow, &MainWindow::notifySignoutAdmin, this, &Controller::on_signoutAdmin);
    connect(m_superAdminWindow, &SuperAdminWindow::notifySignoutSuperAdmin, this,
            &Controller::on_signoutSuperadmin);
    connect(m_mainWindow, &MainWindow::notifyUpdateAllStudentTable, m_businessController,
            &BusinessController::onUpdateAllStudentTable);
}

Controller::~Controller()
{
    delete m_loginDialog;
    delete m_mainWindow;
    delete m_superAdminWindow;
}

void Controller::start(FirstWindow first)
{
    switch (ServerRun::start()) {
    case ServerRun::Outcome::Running:
        break;
    case ServerRun::Outcome::FolderTaken:
        refuseToRun(m_mainWindow, ProgramStart::folderTakenText());
        return;
    case ServerRun::Outcome::ListenerFailed: {
        const IOController *io = IOController::getInstance();
        refuseToRun(m_mainWindow, "Máy chủ không thể mở cổng listening (" + QString::number(io->getStatus())
                                      + ") - (" + QString::number(io->getErrorCode()) + ")");
        return;
    }
    case ServerRun::Outcome::DatabaseFailed:
        refuseToRun(m_mainWindow, "Máy chủ không kết nối được cơ sở dữ liệu MySql mô phỏng");
        return;
    }
    if (first == FirstWindow::Login)
        m_loginDialog->showForLogin();
    else
        m_mainWindow->showMainWindow();
}

void Controller::on_validateLogin(QString userName, QString password)
{
    const int role = m_businessController->validateLogin(userName, password);
    // Any other role opens no window: it counts as a failed login, so the
    // dialog stays and the server is never left without a window.
    if (role != ROLE_ADMIN && role != ROLE_SUPER_ADMIN)
        return;
    m_loginDialog->close();
    if (role == ROLE_ADMIN)
        m_mainWindow->showMainWindow();
    else
        m_superAdminWindow->showMaximized();
}

void Controller::on_signoutAdmin()
{
    m_mainWindow->hide();
    m_loginDialog->showForLogin();
}

void Controller::on_signoutSuperadmin()
{
    m_superAdminWindow->hide();
    m_loginDialog->showForLogin();
}
