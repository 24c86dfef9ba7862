#ifndef ORV_UI_CONFIGDIALOG_H
#define ORV_UI_CONFIGDIALOG_H

#include <QDialog>

namespace Ui {
class ConfigDialog;
}

// The three run-mode settings: automatic printing (0 off, 1 default printer,
// 2 PDF), the theory check before the simulation test, and the theory-result
// refresh interval in seconds (0 never). Each is kept twice: the committed
// value (last given or saved) and the pending one the widgets show while the
// operator edits. It writes nothing itself: a confirmed save is announced
// through notifyUpdateConfig.
class ConfigDialog : public QDialog
{
    Q_OBJECT

public:
    ConfigDialog(QWidget *parent, int printMode, int interval, bool checkTheory);
    ~ConfigDialog() override;

    // Drops unsaved edits, shows the committed values, modal, without
    // blocking.
    void showDialog();
    // A mode outside 0 to 2 changes nothing.
    void setPrintMode(int mode);
    void setCheckTheory(bool check);

signals:
    void notifyUpdateConfig(int autoPrint, int timeUpdateTheoryResult, bool checkPassingTheoryExam);

private slots:
    void on_printCheckBox1_clicked();
    void on_printCheckBox2_clicked();
    void on_printCheckBox3_clicked();
    void on_theoryCheckBox1_clicked();
    void on_theoryCheckBox2_clicked();
    void on_spinBox_valueChanged(int value);
    void on_cancelButton_clicked();
    void on_saveButton_clicked();

private:
    void choosePrintMode(int mode);
    void chooseCheckTheory(bool check);
    // The interval proposed when the theory check is switched on.
    int proposedInterval() const;

    Ui::ConfigDialog *ui;
    int m_printMode = 0;
    int m_pendingPrintMode = 0;
    int m_interval = 0;
    int m_pendingInterval = 0;
    bool m_checkTheory = false;
    bool m_pendingCheckTheory = false;
};

#endif // ORV_UI_CONFIGDIALOG_H
