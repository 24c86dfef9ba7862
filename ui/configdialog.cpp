#include "ui/configdialog.h"
#include "ui_configdialog.h"

#include <QMessageBox>

namespace {

// Refreshing more often than once a minute would load the theory-test
// database for little gain.
const int MIN_REFRESH_SECONDS = 60;
const int DEFAULT_REFRESH_SECONDS = 120;

} // namespace

ConfigDialog::ConfigDialog(QWidget *parent, int printMode, int interval, bool checkTheory)
    : QDialog(parent), ui(new Ui::ConfigDialog)
{
    ui->setupUi(this);
    ui->labelNote->setText(QString());
    setPrintMode(printMode);
    setCheckTheory(checkTheory);
    if (interval >= 0) {
        m_interval = interval;
        ui->spinBox->setValue(interval);
    }
}

ConfigDialog::~ConfigDialog()
{
    delete ui;
}

void ConfigDialog::showDialog()
{
    setPrintMode(m_printMode);
    setCheckTheory(m_checkTheory);
    if (m_interval >= 0)
        ui->spinBox->setValue(m_interval);
    setModal(true);
    show();
}

void ConfigDialog::setPrintMode(int mode)
{
    if (mode < 0 || mode > 2)
        return;
    m_printMode = mode;
    choosePrintMode(mode);
}

void ConfigDialog::setCheckTheory(bool check)
{
    m_checkTheory = check;
    chooseCheckTheory(check);
}

void ConfigDialog::choosePrintMode(int mode)
{
    m_pendingPrintMode = mode;
    ui->printCheckBox1->setChecked(mode == 0);
    ui->printCheckBox2->setChecked(mode == 1);
    ui->printCheckBox3->setChecked(mode == 2);
}

void ConfigDialog::chooseCheckTheory(bool check)
{
    m_pendingCheckTheory = check;
    ui->theoryCheckBox1->setChecked(!check);
    ui->theoryCheckBox2->setChecked(check);
    ui->spinBox->setValue(check ? proposedInterval() : 0);
}

int ConfigDialog::proposedInterval() const
{
    return m_interval > 0 ? m_interval : DEFAULT_REFRESH_SECONDS;
}

void ConfigDialog::on_printCheckBox1_clicked()
{
    choosePrintMode(0);
}

void ConfigDialog::on_printCheckBox2_clicked()
{
    choosePrintMode(1);
}

void ConfigDialog::on_printCheckBox3_clicked()
{
    choosePrintMode(2);
}

void ConfigDialog::on_theoryCheckBox1_clicked()
{
    chooseCheckTheory(false);
}

void ConfigDialog::on_theoryCheckBox2_clicked()
{
    chooseCheckTheory(true);
}

void ConfigDialog::on_spinBox_valueChanged(int value)
{
    m_pendingInterval = value;
}

void ConfigDialog::on_cancelButton_clicked()
{
    hide();
}

void ConfigDialog::on_saveButton_clicked()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, "Thông báo", "Xác nhận lưu cấu hình hiện tại",
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    if (answer == QMessageBox::Yes) {
        m_printMode = m_pendingPrintMode;
        m_checkTheory = m_pendingCheckTheory;
        int interval = m_pendingInterval;
        if (interval >= 1 && interval < MIN_REFRESH_SECONDS)
            interval = MIN_REFRESH_SECONDS;
        m_interval = interval;
        emit notifyUpdateConfig(m_printMode, m_interval, m_checkTheory);
    }
    hide();
}
