#include "ui/importagaindialog.h"

#include "server/business/businesscontroller.h"
#include "ui_importagaindialog.h"

ImportAgainDialog::ImportAgainDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ImportAgainDialog), m_box(this)
{
    ui->setupUi(this);
}

ImportAgainDialog::~ImportAgainDialog()
{
    delete ui;
}

void ImportAgainDialog::on_btnConfirm_clicked()
{
    const QString code = ui->leCourse->text().trimmed();
    if (BusinessController::getInstance()->isCourseExist(code)) {
        warn(QStringLiteral("Mã khóa học đã tồn tại."));
        return;
    }
    m_courseCode = code;
    m_comment = ui->leComment->text().trimmed();
    if (m_comment.isEmpty()) {
        warn(QStringLiteral("Trường ghi chú trống"));
        return;
    }
    setResult(QDialog::Accepted);
    hide();
    emit confirmImportXml();
}

void ImportAgainDialog::on_btnCancel_clicked()
{
    setResult(QDialog::Rejected);
    hide();
}

void ImportAgainDialog::warn(const QString &message)
{
    m_box.setTitle(QStringLiteral("Cảnh báo"));
    m_box.setContent(message);
    m_box.setModal(true);
    m_box.show();
}
