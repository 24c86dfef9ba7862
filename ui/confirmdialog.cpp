#include "ui/confirmdialog.h"

#include "ui_confirmdialog.h"

ConfirmDialog::ConfirmDialog(QWidget *parent) : QDialog(parent), ui(new Ui::ConfirmDialog)
{
    ui->setupUi(this);
}

ConfirmDialog::~ConfirmDialog()
{
    delete ui;
}

void ConfirmDialog::setResultCode(int code)
{
    m_resultCode = code;
}

void ConfirmDialog::on_btnConfirm_clicked()
{
    done(m_resultCode);
}

void ConfirmDialog::on_btnCancel_clicked()
{
    hide();
}
