#include "ui/aboutdialog.h"

#include "ui_aboutdialog.h"

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent), ui(new Ui::AboutDialog)
{
    ui->setupUi(this);
}

AboutDialog::~AboutDialog()
{
    delete ui;
}

void AboutDialog::setTitle(const QString &title)
{
    ui->lbTitle->setText(title);
}

void AboutDialog::on_closeButton_clicked()
{
    close();
}
