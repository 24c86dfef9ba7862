#include "ui/importinfosdialog.h"

#include "ui_importinfosdialog.h"

ImportInfosDialog::ImportInfosDialog(QWidget *parent) : QDialog(parent), ui(new Ui::ImportInfosDialog)
{
    ui->setupUi(this);
}

ImportInfosDialog::~ImportInfosDialog()
{
    delete ui;
}

void ImportInfosDialog::setCourses(const QStringList &courses)
{
    ui->cmbCourse->clear();
    ui->cmbCourse->addItems(courses);
}

void ImportInfosDialog::on_btnOk_clicked()
{
    emit notifyImportCourse(ui->cmbCourse->currentIndex());
    accept();
}

void ImportInfosDialog::on_btnCancel_clicked()
{
    reject();
}
