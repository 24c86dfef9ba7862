#include "ui/superadminwindow.h"
#include "ui_superadminwindow.h"

#include "server/business/businesscontroller.h"

#include <QCloseEvent>

SuperAdminWindow::SuperAdminWindow(QWidget *parent)
    : QMainWindow(parent), ui(new Ui::SuperAdminWindow)
{
    ui->setupUi(this);
}

SuperAdminWindow::~SuperAdminWindow()
{
    delete ui;
}

void SuperAdminWindow::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void SuperAdminWindow::on_btnLogout_clicked()
{
    emit notifySignoutSuperAdmin();
}

void SuperAdminWindow::on_actionSyncAllVideo_triggered()
{
    BusinessController::getInstance()->syncAllVideos();
}
