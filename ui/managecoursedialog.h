#ifndef ORV_UI_MANAGECOURSEDIALOG_H
#define ORV_UI_MANAGECOURSEDIALOG_H

#include "ui/managerecorddialog.h"

#include <QList>

class AddCourseDialog;
class Course;
class CourseModel;

namespace Ui {
class ManageCourseDialog;
}

// The operator's list of exam courses: add, change and delete.
class ManageCourseDialog : public ManageRecordDialog
{
    Q_OBJECT

public:
    static const int DeleteCode = 13;

    explicit ManageCourseDialog(QWidget *parent = nullptr);
    ~ManageCourseDialog() override;

    // Copies the fields the course dialog edits into the listed course.
    void updateCourse(const Course &course, int row);
    // Re-reads the controller's course list (after an import). The list is
    // refilled in place with new records, so the table is reset around it and
    // never shows a deleted course.
    void refreshCourseList();

signals:
    void notifyChangeStartingCourse();
    void notifyRemoveCourse();

public slots:
    void onInsertCouserFromDB();

private slots:
    void onUpdateCourseTable();

private:
    void loadList() override;
    int listSize() const override;
    QString idAt(int row) const override;
    void openForCreate() override;
    void openForEdit(int row) override;
    SqlResultInfo deleteById(const QString &id) override;
    void takeAdded() override;
    void takeChanged(int row) override;
    QString editedId() const override;
    void afterAddOrChange() override;
    void afterDelete() override;

    Ui::ManageCourseDialog *ui;
    CourseModel *m_model = nullptr;
    AddCourseDialog *m_editor = nullptr;
    QList<Course *> *m_courses = nullptr;
};

#endif // ORV_UI_MANAGECOURSEDIALOG_H
