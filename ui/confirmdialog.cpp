#include "ui/confirmdialog.h"

#include <QHBoxLayout>
#include <QPushButton>

ConfirmDialog::ConfirmDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName("ConfirmDialog");
    auto *layout = new QHBoxLayout(this);
    auto *confirm = new QPushButton(QStringLiteral("Có"), this);
    confirm->setObjectName("btnConfirm");
    layout->addWidget(confirm);
    auto *cancel = new QPushButton(QStringLiteral("Hủy bỏ"), this);
    cancel->setObjectName("btnCancel");
    layout->addWidget(cancel);
    QMetaObject::connectSlotsByName(this);
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
