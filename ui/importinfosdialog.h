#ifndef ORV_UI_IMPORTINFOSDIALOG_H
#define ORV_UI_IMPORTINFOSDIALOG_H

#include <QDialog>
#include <QList>

class Course;

namespace Ui {
class ImportInfosDialog;
}

// Asks which course of the theory-test database to copy into the main
// database. It only shows the courses: the main window keeps them and turns
// the chosen position back into one.
class ImportInfosDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ImportInfosDialog(QWidget *parent = nullptr);
    ~ImportInfosDialog() override;

    // The courses in this order, "[Đã import]" after the name of each one
    // `imported` marks.
    void setCourses(const QList<const Course *> &courses, const QList<bool> &imported);

signals:
    // The position of the chosen course, -1 when the list is empty.
    void notifyImportCourse(int index);

private slots:
    void on_btnOk_clicked();
    void on_btnCancel_clicked();

private:
    Ui::ImportInfosDialog *ui;
};

#endif // ORV_UI_IMPORTINFOSDIALOG_H
