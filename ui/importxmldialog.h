#ifndef ORV_UI_IMPORTXMLDIALOG_H
#define ORV_UI_IMPORTXMLDIALOG_H

#include "records/course.h"

#include <QDialog>
#include <QList>
#include <QString>

namespace Ui {
class ImportXmlDialog;
}

// Collects the course (one that may still be examined) and the candidate-list
// file of an XML import. It ends with ImportCode; the main window then reads
// the two getters and runs the import.
class ImportXmlDialog : public QDialog
{
    Q_OBJECT

public:
    static const int ImportCode = 6;

    explicit ImportXmlDialog(QWidget *parent = nullptr);
    ~ImportXmlDialog() override;

    void showDialog();
    QString getCourseCode() const { return m_courseCode; }
    QString getXmlPath() const { return m_xmlPath; }

private slots:
    void on_btnGetXml_clicked();
    void on_btnImport_clicked();
    void on_btnCancel_clicked();

private:
    Ui::ImportXmlDialog *ui;
    QList<Course> m_courses;
    QString m_courseCode;
    QString m_xmlPath;
};

#endif // ORV_UI_IMPORTXMLDIALOG_H
