// uic guards ui_inforesetdialog.h with UI_INFORESETDIALOG_H: this header
// needs a guard of its own.
#ifndef ORV_UI_INFORESETDIALOG_H
#define ORV_UI_INFORESETDIALOG_H

#include <QDialog>
#include <QString>

namespace Ui {
class InfoResetDialog;
}

// Asks for the reason before a candidate's simulation result is reset; the
// reason goes out through confirmResetAccount and the main window does the
// reset.
class InfoResetDialog : public QDialog
{
    Q_OBJECT

public:
    explicit InfoResetDialog(QWidget *parent = nullptr);
    ~InfoResetDialog() override;

    // Starts every opening with an empty reason. The caller sets the
    // modality.
    void showDialog();

signals:
    void confirmResetAccount(QString comment);

private slots:
    void on_startButton_clicked();
    void on_btnCancel_clicked();

private:
    Ui::InfoResetDialog *ui;
};

#endif // ORV_UI_INFORESETDIALOG_H
