#include "ui/customerbox.h"
#include "ui_customerbox.h"

CustomerBox::CustomerBox(QWidget *parent)
    : QDialog(parent), ui(new Ui::CustomerBox)
{
    ui->setupUi(this);
}

CustomerBox::~CustomerBox()
{
    delete ui;
}

void CustomerBox::setContent(const QString &content)
{
    ui->lbContent->setText(content);
}

void CustomerBox::setTitle(const QString &title)
{
    setWindowTitle(title);
}

void CustomerBox::on_btnOk_clicked()
{
    hide();
}
