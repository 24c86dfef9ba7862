#ifndef ORV_UI_LOGINDIALOG_H
#define ORV_UI_LOGINDIALOG_H

#include <QDialog>
#include <QString>

namespace Ui {
class LoginDialog;
}

// The sign-in window. It checks nothing itself: it hands the name and the
// password's digest to whoever listens, and stays open until told otherwise.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LoginDialog(QWidget *parent = nullptr);
    ~LoginDialog() override;

    // Empties both fields and shows the dialog modal (after a sign-out).
    void showForLogin();

    // The MD5 of the password's UTF-8 bytes, 32 lower-case hex digits: the
    // form the accounts table keeps.
    static QString passwordDigest(const QString &password);

signals:
    void notifyValidateLogin(QString userName, QString password);

private slots:
    void on_btnLogin_clicked();
    void on_labelForgotPass_linkActivated(const QString &link);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Ui::LoginDialog *ui;
};

#endif // ORV_UI_LOGINDIALOG_H
