#ifndef ORV_UI_ADDUNITDIALOG_H
#define ORV_UI_ADDUNITDIALOG_H

#include "ui/customerbox.h"

#include <QDialog>
#include <QList>
#include <QString>

class Province;
class Unit;

namespace Ui {
class AddUnitDialog;
}

// Creates or changes a training unit and ties it to an exam council, writing
// it through the business controller; ends with CreatedCode or UpdatedCode,
// after which the caller reads getUnit.
class AddUnitDialog : public QDialog
{
    Q_OBJECT

public:
    static const int CreatedCode = 10;
    static const int UpdatedCode = 11;

    explicit AddUnitDialog(QWidget *parent = nullptr);
    ~AddUnitDialog() override;

    void showForCreate();
    void showForEdit(const QString &code, const QString &name, Province *province);
    // Owned by the dialog and refilled at every confirmation; its province
    // is one of the business controller's provinces.
    Unit *getUnit() const { return m_unit; }

private slots:
    void on_btnUpdate_clicked();
    void on_btnCancel_clicked();

private:
    // The province combo is refilled from the controller's current list at
    // every opening, each item carrying its province's code, so a province
    // deleted elsewhere since the last opening is never chosen by a stale
    // position.
    void fillProvinces();
    Province *provinceOfItem(int index) const;
    void showMessage(const QString &message);

    Ui::AddUnitDialog *ui;
    QList<Province *> *m_provinces = nullptr;
    CustomerBox m_box;
    int m_mode = 0;
    Unit *m_unit = nullptr;
};

#endif // ORV_UI_ADDUNITDIALOG_H
