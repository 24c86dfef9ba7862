#ifndef ORV_UI_CONFIRMDIALOG_H
#define ORV_UI_CONFIRMDIALOG_H

#include <QDialog>

namespace Ui {
class ConfirmDialog;
}

// A yes-or-no question that ends with the result code its user chose before
// showing it: "Có" finishes the dialog with that code, "Hủy bỏ" only hides
// it, so the user's finished handler runs for a confirmation only.
class ConfirmDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConfirmDialog(QWidget *parent = nullptr);
    ~ConfirmDialog() override;

    void setResultCode(int code);

private slots:
    void on_btnConfirm_clicked();
    void on_btnCancel_clicked();

private:
    Ui::ConfirmDialog *ui;
    int m_resultCode = 0;
};

#endif // ORV_UI_CONFIRMDIALOG_H
