#ifndef ORV_UI_EXPORTSTUDENTSDIALOG_H
#define ORV_UI_EXPORTSTUDENTSDIALOG_H

#include <QDialog>
#include <QList>

class Course;

namespace Ui {
class ExportStudentsDialog;
}

// Asks which course an export is for. The main window sets the mode (which
// report) before showing it; on confirmation the mode's signal carries the
// position of the chosen course, which is its position in the list last
// handed to setCourses.
class ExportStudentsDialog : public QDialog
{
    Q_OBJECT

public:
    enum Mode {
        ModeXml = 0,
        ModeExcel = 1,
        ModePassedExcel = 2,
        ModeFailedExcel = 3,
        ModeAbsentExcel = 4,
        ModeKQSHMPXml = 5,
    };

    explicit ExportStudentsDialog(QWidget *parent = nullptr);
    ~ExportStudentsDialog() override;

    void setCourses(const QList<Course *> &courses);
    void setMode(int mode);
    int getMode() const { return m_mode; }

signals:
    void notifyExportXml(int index);
    void notifyExportExcel(int index);
    void notifyExportPassedStudentsExcel(int index);
    void notifyExportFailedStudentsExcel(int index);
    void notifyExportAbsentStudentsExcel(int index);
    void notifyExportKQSHMPXml(int index);

private slots:
    void on_btnOk_clicked();
    void on_btnCancel_clicked();

private:
    Ui::ExportStudentsDialog *ui;
    int m_mode = ModeXml;
};

#endif // ORV_UI_EXPORTSTUDENTSDIALOG_H
