#ifndef ORV_UI_SUPERADMINWINDOW_H
#define ORV_UI_SUPERADMINWINDOW_H

#include <QMainWindow>

class CustomerBox;

namespace Ui {
class SuperAdminWindow;
}

// The whole desktop of a super-administrator: sending the exam videos to the
// connected terminals, and signing out.
class SuperAdminWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit SuperAdminWindow(QWidget *parent = nullptr);
    ~SuperAdminWindow() override;

signals:
    void notifySignoutSuperAdmin();

protected:
    // A close from the window system is ignored: with this window gone the
    // server would go on with nothing on screen. Signing out is the way out.
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_btnLogout_clicked();
    // Holds this (the GUI) thread until every terminal has every video (or
    // was left out), then says in one box what went where.
    void on_actionSyncAllVideo_triggered();

private:
    Ui::SuperAdminWindow *ui;
    CustomerBox *m_box = nullptr;
};

#endif // ORV_UI_SUPERADMINWINDOW_H
