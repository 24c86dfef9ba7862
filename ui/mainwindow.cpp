#include "ui/mainwindow.h"

#include "common/constants.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/network/iocontroller.h"
#include "ui/aboutdialog.h"
#include "ui/configdialog.h"
#include "ui/confirmdialog.h"
#include "ui/loghandler.h"
#include "ui/testauxiliarydb.h"
#include "ui/testmaindb.h"

#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <limits>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    // The form first: its slots bind by name to the first matching
    // descendant, so no child dialog may exist yet.
    ui->setupUi(this);
    // Title bar with minimise and maximise only: the exit menu is the way out.
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);

    // Brings the server up: the listener, the databases, the candidate model.
    m_businessController = BusinessController::getInstance();
    m_businessControllerClient = BusinessControllerClient::getInstance();

    ui->leSearch->setClearButtonEnabled(true);
    ui->leSearch->addAction(QIcon(":/icon/resources/icon/search.svg"), QLineEdit::TrailingPosition);

    // The dialogs: created once, reused, children of this window.
    m_aboutDialog = new AboutDialog(this);
    m_confirmDialog = new ConfirmDialog(this);
    m_testAuxiliaryDb = new TestAuxiliaryDb(this);
    m_testMainDb = new TestMainDb(this);
    m_configDialog = new ConfigDialog(this, m_businessController->getAutoPrint(),
                                      m_businessController->getTimeUpdateTheoryResult(),
                                      m_businessController->getCheckPassingTheoryExam());

    // Connections.
    connect(this, &MainWindow::notifyUpdateResultOfFriendDB, this,
            &MainWindow::onUpdateResultOfFriendDB);
    connect(m_configDialog, &ConfigDialog::notifyUpdateConfig, m_businessController,
            &BusinessController::onUpdateConfig);

    // Background loops.
    const int refreshSeconds = m_businessController->getTimeUpdateTheoryResult();
    if (refreshSeconds >= 1)
        startTheoryRefreshLoop(refreshSeconds);

    clearPdfFolder();
}

MainWindow::~MainWindow()
{
    // The loops emit to this window: they go before anything it owns.
    m_theoryRefreshThread.requestStop();
    m_theoryRefreshThread.join();

    IOController::destroyInstance();
    delete ui;
}

void MainWindow::startTheoryRefreshLoop(int seconds)
{
    // An interval beyond the wait's range waits as long as it can.
    const int waitMs = seconds > std::numeric_limits<int>::max() / 1000
        ? std::numeric_limits<int>::max()
        : seconds * 1000;
    const bool started = m_theoryRefreshThread.start([this, waitMs]() {
        while (!m_theoryRefreshThread.waitForStop(waitMs))
            emit notifyUpdateResultOfFriendDB();
    });
    if (!started)
        ORV_LOG_DEBUG << "Can not create the theory result refresh thread";
}

void MainWindow::clearPdfFolder()
{
    const QDir folder(PDF_FOLDER);
    if (!folder.exists())
        return;
    const QStringList files = folder.entryList({"*.*"}, QDir::Files, QDir::NoSort);
    for (const QString &name : files)
        QFile::remove(PDF_FOLDER + "/" + name);
}

void MainWindow::initModel()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::showMainWindow()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    showMaximized();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    event->ignore();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::exitProgram()
{
    QApplication::closeAllWindows();
    QTimer::singleShot(0, qApp, []() { QCoreApplication::exit(0); });
}

void MainWindow::on_actionExit_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Cảnh báo"),
        "Tắt chương trình sẽ mất kết nối và không lưu được kết quả các máy đang thi. Bạn có chắc "
        "chắn muốn thoát không?",
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        exitProgram();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionInfo_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_aboutDialog->setTitle(ADMIN_SOFTWARE_TITLE);
    m_aboutDialog->setModal(true);
    m_aboutDialog->show();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionConfigSystemFunction_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_configDialog->showDialog();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionTestAuxiliaryDbConnection_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_testAuxiliaryDb->showConnectionInfo();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionTestMainDbConnection_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_testMainDb->showConnectionInfo();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::onUpdateResultOfFriendDB()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_businessController->updateResultOfFriendDB();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}
