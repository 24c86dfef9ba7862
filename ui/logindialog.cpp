#include "ui/logindialog.h"
#include "ui_logindialog.h"

#include "common/constants.h"

#include <QAction>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QIcon>
#include <QLineEdit>
#include <QKeyEvent>

LoginDialog::LoginDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::LoginDialog)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);

    ui->labelForgotPass->setText(FORGOT_PASSWORD_LINK);
    ui->labelForgotPass->setTextInteractionFlags(Qt::TextBrowserInteraction);
    // linkActivated reaches on_labelForgotPass_linkActivated by its name.

    ui->lineEditName->addAction(QIcon(USER_ICON_PATH), QLineEdit::LeadingPosition);
    ui->lineEditPassword->addAction(QIcon(PASSWORD_ICON_PATH), QLineEdit::LeadingPosition);
}

LoginDialog::~LoginDialog()
{
    delete ui;
}

void LoginDialog::showForLogin()
{
    ui->lineEditName->clear();
    ui->lineEditPassword->clear();
    setModal(true);
    show();
}

QString LoginDialog::passwordDigest(const QString &password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Md5).toHex());
}

void LoginDialog::on_btnLogin_clicked()
{
    // The name goes as typed: account names are matched exactly.
    emit notifyValidateLogin(ui->lineEditName->text(), passwordDigest(ui->lineEditPassword->text()));
}

void LoginDialog::on_labelForgotPass_linkActivated(const QString &link)
{
    Q_UNUSED(link)
}

void LoginDialog::keyPressEvent(QKeyEvent *event)
{
    // Frameless and, after a sign-out, the only window on screen: Escape
    // would hide it and leave the server running with no way back in.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void LoginDialog::closeEvent(QCloseEvent *event)
{
    // The same for a close asked by the window system (a window manager's
    // close key): only the program closes this dialog, after a sign-in.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
