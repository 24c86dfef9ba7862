// uic guards ui_addstudentdialog.h with UI_ADDSTUDENTDIALOG_H: this header
// needs a guard of its own.
#ifndef ORV_UI_ADDSTUDENTDIALOG_H
#define ORV_UI_ADDSTUDENTDIALOG_H

#include "records/crudstudentinfo.h"

#include <QByteArray>
#include <QDate>
#include <QDialog>
#include <QString>

#include <memory>

class ContestContent;

namespace Ui {
class AddStudentDialog;
}

// The operator types in a candidate of the current course or changes one.
// The dialog checks and writes nothing: it ends with the code it was opened
// with (5 add, 4 change) and hands the entered data out through
// getStudentInfo. A chosen photo is converted from JPEG 2000 when needed,
// fitted into 228 x 304 and kept as JPEG.
class AddStudentDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AddStudentDialog(QWidget *parent = nullptr);
    ~AddStudentDialog() override;

    // Empties the text fields and opens the dialog; mode 5 also drops the
    // previous photo. After an add that could not be saved it opens with
    // what was typed, photo included, for the operator to correct.
    void showForAdd(int mode);
    // What became of the add this dialog ended with: the window tells it
    // once it has tried to save.
    void setSaveOutcome(bool saved);
    // Opens the dialog with what updateStudentInfo put in the form.
    void showForEdit(int mode);
    // Fills the form with a stored candidate; the photo is Base64 text.
    void updateStudentInfo(const QString &name, const QDate &birthDate, const QString &orderNumber,
                           const QString &licenceClass, const QString &idNumber, const QString &gender,
                           const QString &photoBase64, const QString &contentNumber);
    CRUDStudentInfo getStudentInfo() const;

public slots:
    // Also Escape and the title bar's close: nothing to keep afterwards.
    void reject() override;

private slots:
    void on_btnConfirm_clicked();
    void on_btnCancel_clicked();
    void on_pushButton_clicked();

private:
    void clearPhoto();

    Ui::AddStudentDialog *ui;
    int m_mode = 0;
    // The last add failed to save: its entries wait for the next add.
    bool m_keepEntries = false;
    CRUDStudentInfo m_studentInfo;
    QByteArray m_photo;
    std::shared_ptr<ContestContent> m_contestContent;
};

#endif // ORV_UI_ADDSTUDENTDIALOG_H
