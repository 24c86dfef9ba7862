#include "ui/controller.h"

#include "server/business/businesscontroller.h"
#include "server/network/iocontroller.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

namespace {

// A start-up failure: the operator reads why, then the program ends with
// status 1 as soon as the event loop runs, so a launcher sees the failure.
void refuseToRun(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, "Cảnh báo", text, QMessageBox::Ok);
    QApplication::closeAllWindows();
    QTimer::singleShot(0, qApp, []() { QCoreApplication::exit(1); });
}

} // namespace

Controller::Controller(QObject *parent) : QObject(parent)
{
    m_mainWindow = new MainWindow();
    m_businessController = BusinessController::getInstance();
    m_mainWindow->initModel();

    connect(m_mainWindow, &MainWindow::notifyUpdateAllStudentTable, m_businessController,
            &BusinessController::onUpdateAllStudentTable);
}

Controller::~Controller()
{
    delete m_mainWindow;
}

void Controller::start()
{
    IOController *io = IOController::getInstance();
    while (io->getStatus() == IOController::STATUS_NOT_STARTED)
        QThread::msleep(100);

    const int status = io->getStatus();
    if (status != IOController::STATUS_LISTENING) {
        refuseToRun(m_mainWindow, "Máy chủ không thể mở cổng listening (" + QString::number(status)
                                      + ") - (" + QString::number(io->getErrorCode()) + ")");
        return;
    }
    if (m_businessController->isDbConnectionFailed() != 0) {
        refuseToRun(m_mainWindow, "Máy chủ không kết nối được cơ sở dữ liệu MySql mô phỏng");
        return;
    }
    m_mainWindow->showMainWindow();
}
