#include "ui/customerbox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CustomerBox::CustomerBox(QWidget *parent) : QDialog(parent), m_content(new QLabel(this))
{
    setObjectName("CustomerBox");
    auto *layout = new QVBoxLayout(this);
    m_content->setObjectName("lbContent");
    layout->addWidget(m_content);
    auto *ok = new QPushButton(QStringLiteral("Đóng"), this);
    ok->setObjectName("btnOk");
    layout->addWidget(ok);
    QMetaObject::connectSlotsByName(this);
}

void CustomerBox::setContent(const QString &content)
{
    m_content->setText(content);
}

void CustomerBox::setTitle(const QString &title)
{
    setWindowTitle(title);
}

void CustomerBox::on_btnOk_clicked()
{
    hide();
}
