#ifndef ORV_UI_MANAGERECORDDIALOG_H
#define ORV_UI_MANAGERECORDDIALOG_H

#include "records/sqlresultinfo.h"
#include "ui/customerbox.h"

#include <QDialog>
#include <QList>
#include <QString>

class ConfirmDialog;
class QAbstractItemModel;
class QTableView;

// What the course, council and unit managers share: one table over a list
// that the business controller caches and shares, an editing dialog for
// adding and changing, and a confirmation before deleting. The subclasses
// hold the form, the typed model and the editing dialog, and fill in the
// hooks for their record type.
class ManageRecordDialog : public QDialog
{
    Q_OBJECT

public:
    // The codes of the editing and confirmation dialogs, the notice shown
    // when no row is chosen, and the table's column widths.
    struct Setup
    {
        int addedCode;
        int changedCode;
        int deleteCode;
        QString noRowNotice;
        QList<int> columnWidths;
    };

    // Loads the table on first use, then opens the dialog without blocking.
    void showDialog();

protected:
    ManageRecordDialog(const Setup &setup, QWidget *parent);

    // Called once by the subclass's constructor, after its setupUi.
    void attach(QTableView *view, QAbstractItemModel *model, QDialog *editor);
    // Step one of showing, also taken by the import notices.
    void loadIfNeeded();
    void repaintTable();

    // Gives the controller's cached list to the model.
    virtual void loadList() = 0;
    virtual int listSize() const = 0;
    virtual QString idAt(int row) const = 0;
    virtual void openForCreate() = 0;
    virtual void openForEdit(int row) = 0;
    virtual SqlResultInfo deleteById(const QString &id) = 0;
    // The editing dialog ended with the added or the changed code.
    virtual void takeAdded() = 0;
    virtual void takeChanged(int row) = 0;
    // The editing dialog's record: its code, which it cannot change.
    virtual QString editedId() const = 0;
    // Removes a deleted record's row; the model deletes the record.
    virtual void removeRecordRow(int row);
    virtual void afterAddOrChange() {}
    virtual void afterDelete() {}

    void showNotice(const QString &content);
    QAbstractItemModel *model() const { return m_model; }

private slots:
    void on_btnAdd_clicked();
    void on_btnEdit_clicked();
    void on_btnDelete_clicked();
    void onProcessAddDialog(int result);
    void onProcessConfirmDialog(int result);

private:
    int currentRow() const;
    // The row holding `id`, trying `hint` first; -1 when none. The rows are
    // found again by code at the end of each exchange, so a list that changed
    // meanwhile never has the wrong record changed or removed.
    int rowOfId(const QString &id, int hint) const;

    Setup m_setup;
    QTableView *m_view = nullptr;
    QAbstractItemModel *m_model = nullptr;
    bool m_loaded = false;
    CustomerBox m_box;
    QString m_deleteId;
    int m_deleteRow = -1;
    ConfirmDialog *m_confirm = nullptr;
    int m_editRow = -1;
};

#endif // ORV_UI_MANAGERECORDDIALOG_H
