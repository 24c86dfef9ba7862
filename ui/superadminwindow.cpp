#include "ui/superadminwindow.h"
#include "ui_superadminwindow.h"

#include "server/business/businesscontroller.h"
#include "server/business/videodistributor.h"
#include "ui/customerbox.h"

#include <QCloseEvent>
#include <QFileInfo>

namespace {

// Names beyond this many are counted, not listed, so that the box stays
// within the screen; the log names them all.
const int LISTED_NAMES = 8;

QString listed(const QStringList &names, const QString &othersText)
{
    QString text;
    for (int i = 0; i < names.size() && i < LISTED_NAMES; ++i)
        text += QStringLiteral("\n– ") + names.at(i);
    if (names.size() > LISTED_NAMES)
        text += QStringLiteral("\n– ") + othersText.arg(names.size() - LISTED_NAMES);
    return text;
}

QString videoSendReport(const VideoDistributor::Outcome &outcome)
{
    QString text = QStringLiteral("Đã gửi %1 video đến %2 máy thi.")
                       .arg(outcome.filesSent)
                       .arg(outcome.terminalsServed);
    if (!outcome.filesNotSent.isEmpty()) {
        QStringList names;
        for (const QString &path : outcome.filesNotSent)
            names << QFileInfo(path).fileName();
        text += QStringLiteral("\nKhông gửi được video (không đọc được tệp):")
                + listed(names, QStringLiteral("và %1 video khác"));
    }
    if (!outcome.terminalsLeftOut.isEmpty())
        text += QStringLiteral("\nMáy thi bị bỏ qua (ngừng nhận dữ liệu hoặc mất kết nối):")
                + listed(outcome.terminalsLeftOut, QStringLiteral("và %1 máy thi khác"));
    return text;
}

} // namespace

SuperAdminWindow::SuperAdminWindow(QWidget *parent)
    : QMainWindow(parent), ui(new Ui::SuperAdminWindow)
{
    ui->setupUi(this);
    m_box = new CustomerBox(this);
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
    const VideoDistributor::Outcome outcome = BusinessController::getInstance()->syncAllVideos();
    // Stopped because the program is ending: nobody is left to read it.
    if (outcome.stopped)
        return;
    const bool allWell = outcome.filesNotSent.isEmpty() && outcome.terminalsLeftOut.isEmpty();
    m_box->setTitle(allWell ? QStringLiteral("Thông tin") : QStringLiteral("Cảnh báo"));
    m_box->setContent(videoSendReport(outcome));
    m_box->setModal(true);
    m_box->show();
}
