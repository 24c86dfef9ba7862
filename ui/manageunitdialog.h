#ifndef ORV_UI_MANAGEUNITDIALOG_H
#define ORV_UI_MANAGEUNITDIALOG_H

#include "ui/managerecorddialog.h"

#include <QList>

class AddUnitDialog;
class Unit;
class UnitModel;

namespace Ui {
class ManageUnitDialog;
}

// The operator's list of training units: add, change and delete.
class ManageUnitDialog : public ManageRecordDialog
{
    Q_OBJECT

public:
    static const int DeleteCode = 12;

    explicit ManageUnitDialog(QWidget *parent = nullptr);
    ~ManageUnitDialog() override;

    // Copies code, name and province into the listed unit.
    void updateUnit(const Unit &unit, int row);

public slots:
    void onInsertUnitFromDB();

private slots:
    void onUpdateUnitTable();

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
    void removeRecordRow(int row) override;

    Ui::ManageUnitDialog *ui;
    UnitModel *m_model = nullptr;
    AddUnitDialog *m_editor = nullptr;
    QList<Unit *> *m_units = nullptr;
};

#endif // ORV_UI_MANAGEUNITDIALOG_H
