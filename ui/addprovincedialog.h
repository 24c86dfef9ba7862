#ifndef ORV_UI_ADDPROVINCEDIALOG_H
#define ORV_UI_ADDPROVINCEDIALOG_H

#include "ui/customerbox.h"

#include <QDialog>
#include <QString>

class Province;

namespace Ui {
class AddProvinceDialog;
}

// Creates or renames an exam council (a province), writing it through the
// business controller; ends with CreatedCode or UpdatedCode, after which the
// caller reads getProvince.
class AddProvinceDialog : public QDialog
{
    Q_OBJECT

public:
    static const int CreatedCode = 8;
    static const int UpdatedCode = 9;

    explicit AddProvinceDialog(QWidget *parent = nullptr);
    ~AddProvinceDialog() override;

    void showForCreate();
    void showForEdit(const QString &code, const QString &name);
    // Owned by the dialog; refilled at every confirmation.
    Province *getProvince() const { return m_province; }

private slots:
    void on_btnUpdate_clicked();
    void on_btnCancel_clicked();

private:
    void showMessage(const QString &message);

    Ui::AddProvinceDialog *ui;
    CustomerBox m_box;
    int m_mode = 0;
    Province *m_province = nullptr;
};

#endif // ORV_UI_ADDPROVINCEDIALOG_H
