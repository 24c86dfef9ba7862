#include "ui/importxmldialog.h"

#include "server/business/businesscontroller.h"
#include "ui_importxmldialog.h"

#include <QFileDialog>

ImportXmlDialog::ImportXmlDialog(QWidget *parent) : QDialog(parent), ui(new Ui::ImportXmlDialog)
{
    ui->setupUi(this);
}

ImportXmlDialog::~ImportXmlDialog()
{
    delete ui;
}

void ImportXmlDialog::showDialog()
{
    m_courses = BusinessController::getInstance()->getStartableCourses();
    ui->cbCourse->clear();
    for (const Course &course : qAsConst(m_courses))
        ui->cbCourse->addCourse(course.getIDKhoaHoc(), course.getTenKhoaHoc());
    ui->leXmlPath->clear();
    setWindowModality(Qt::ApplicationModal);
    open();
}

void ImportXmlDialog::on_btnGetXml_clicked()
{
    const QString path =
        QFileDialog::getOpenFileName(nullptr, QString(), QString(), QStringLiteral("XML (*.xml);;"));
    ui->leXmlPath->setText(path);
    ui->leXmlPath->setCursorPosition(0);
    ui->leXmlPath->setToolTip(path);
}

void ImportXmlDialog::on_btnImport_clicked()
{
    // With no course to import into there is nothing to hand back: the
    // dialog stays open.
    const int index = ui->cbCourse->currentIndex();
    if (index < 0 || index >= m_courses.size())
        return;
    m_xmlPath = ui->leXmlPath->text();
    m_courseCode = m_courses.at(index).getIDKhoaHoc();
    done(ImportCode);
}

void ImportXmlDialog::on_btnCancel_clicked()
{
    reject();
}
