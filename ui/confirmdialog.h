#ifndef ORV_UI_CONFIRMDIALOG_H
#define ORV_UI_CONFIRMDIALOG_H

#include <QDialog>

// Stand-in until the program's confirmation dialog lands: the same interface.
class ConfirmDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConfirmDialog(QWidget *parent = nullptr);
    void setResultCode(int code);

private slots:
    void on_btnConfirm_clicked();
    void on_btnCancel_clicked();

private:
    int m_resultCode = 0;
};

#endif // ORV_UI_CONFIRMDIALOG_H
