#ifndef UI_CONFIRMDIALOG_H_INCLUDED
#define UI_CONFIRMDIALOG_H_INCLUDED

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

#endif // UI_CONFIRMDIALOG_H_INCLUDED
