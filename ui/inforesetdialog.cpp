#include "ui/inforesetdialog.h"
#include "ui_inforesetdialog.h"

#include <QMessageBox>

InfoResetDialog::InfoResetDialog(QWidget *parent) : QDialog(parent), ui(new Ui::InfoResetDialog)
{
    ui->setupUi(this);
}

InfoResetDialog::~InfoResetDialog()
{
    delete ui;
}

void InfoResetDialog::showDialog()
{
    ui->leComment->clear();
    ui->leComment->setFocus();
    show();
}

void InfoResetDialog::on_startButton_clicked()
{
    // Taken as typed: a reason of blanks is still a reason.
    const QString comment = ui->leComment->text();
    if (comment.isEmpty()) {
        QMessageBox::warning(this, "Cảnh báo", "Phải điền lý do thiêt lập lại", QMessageBox::Ok);
        return;
    }
    hide();
    emit confirmResetAccount(comment);
}

void InfoResetDialog::on_btnCancel_clicked()
{
    hide();
}
