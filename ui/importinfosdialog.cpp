#include "ui/importinfosdialog.h"

#include "records/course.h"
#include "ui_importinfosdialog.h"

ImportInfosDialog::ImportInfosDialog(QWidget *parent) : QDialog(parent), ui(new Ui::ImportInfosDialog)
{
    ui->setupUi(this);
}

ImportInfosDialog::~ImportInfosDialog()
{
    delete ui;
}

void ImportInfosDialog::setCourses(const QList<const Course *> &courses, const QList<bool> &imported)
{
    ui->cmbCourse->clear();
    for (int i = 0; i < courses.size(); ++i)
        ui->cmbCourse->addCourse(courses.at(i)->getIDKhoaHoc(), courses.at(i)->getTenKhoaHoc(),
                                 imported.value(i) ? QStringLiteral(" [Đã import]") : QString());
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
