#include "ui/exportstudentsdialog.h"

#include "records/course.h"
#include "ui_exportstudentsdialog.h"

ExportStudentsDialog::ExportStudentsDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ExportStudentsDialog)
{
    ui->setupUi(this);
}

ExportStudentsDialog::~ExportStudentsDialog()
{
    delete ui;
}

void ExportStudentsDialog::setCourses(const QList<Course *> &courses)
{
    ui->cmbCourse->clear();
    for (const Course *course : courses)
        ui->cmbCourse->addCourse(course->getIDKhoaHoc(), course->getTenKhoaHoc());
}

void ExportStudentsDialog::setMode(int mode)
{
    m_mode = mode;
}

void ExportStudentsDialog::on_btnOk_clicked()
{
    const int index = ui->cmbCourse->currentIndex();
    switch (m_mode) {
    case ModeXml:
        emit notifyExportXml(index);
        break;
    case ModeExcel:
        emit notifyExportExcel(index);
        break;
    case ModePassedExcel:
        emit notifyExportPassedStudentsExcel(index);
        break;
    case ModeFailedExcel:
        emit notifyExportFailedStudentsExcel(index);
        break;
    case ModeAbsentExcel:
        emit notifyExportAbsentStudentsExcel(index);
        break;
    case ModeKQSHMPXml:
        emit notifyExportKQSHMPXml(index);
        break;
    default:
        break;
    }
    accept();
}

void ExportStudentsDialog::on_btnCancel_clicked()
{
    reject();
}
