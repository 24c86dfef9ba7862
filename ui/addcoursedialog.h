#ifndef ORV_UI_ADDCOURSEDIALOG_H
#define ORV_UI_ADDCOURSEDIALOG_H

#include "ui/customerbox.h"

#include <QDialog>
#include <QList>

class Course;
class Unit;

namespace Ui {
class AddCourseDialog;
}

// Creates a course or changes one, writing it through the business
// controller, and ends with CreatedCode or UpdatedCode; the caller then reads
// getCourse. A failed write or a missing required field is told and leaves
// the dialog open with what was typed, for correcting; without any unit it
// ends with reject (0).
class AddCourseDialog : public QDialog
{
    Q_OBJECT

public:
    static const int CreatedCode = 14;
    static const int UpdatedCode = 15;

    explicit AddCourseDialog(QWidget *parent = nullptr);
    ~AddCourseDialog() override;

    void showForCreate();
    void showForEdit(Course *course);
    // Owned by the dialog; refilled at every confirmation.
    Course *getCourse() const { return m_course; }

private slots:
    void on_btnUpdate_clicked();
    void on_btnCancel_clicked();
    void on_btnBrowseAvatarFolder_clicked();
    void onChangedUnit(int index);

private:
    // The unit combo is refilled from the controller's current list at every
    // opening, each item carrying its unit's code, so a unit deleted or added
    // elsewhere since the last opening is never chosen by a stale position.
    void fillUnits();
    // The unit of the current list whose code the item carries, or null.
    Unit *unitOfItem(int index) const;
    void showMessage(const QString &message);

    Ui::AddCourseDialog *ui;
    int m_mode = 0;
    QList<Unit *> *m_units = nullptr;
    CustomerBox m_box;
    Course *m_course = nullptr;
};

#endif // ORV_UI_ADDCOURSEDIALOG_H
