#include "ui/addprovincedialog.h"

#include "records/province.h"
#include "records/safetext.h"
#include "server/business/businesscontroller.h"
#include "ui_addprovincedialog.h"

namespace {
const int MODE_CREATE = 0;
const int MODE_UPDATE = 1;
} // namespace

AddProvinceDialog::AddProvinceDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::AddProvinceDialog), m_box(nullptr), m_province(new Province)
{
    ui->setupUi(this);
}

AddProvinceDialog::~AddProvinceDialog()
{
    delete m_province;
    delete ui;
}

void AddProvinceDialog::showForCreate()
{
    m_mode = MODE_CREATE;
    ui->leCode->setReadOnly(false);
    ui->leCode->clear();
    ui->leName->clear();
    setWindowModality(Qt::ApplicationModal);
    open();
}

void AddProvinceDialog::showForEdit(const QString &code, const QString &name)
{
    m_mode = MODE_UPDATE;
    ui->leCode->setText(code);
    ui->leCode->setReadOnly(true);
    ui->leName->setText(name);
    setWindowModality(Qt::ApplicationModal);
    open();
}

void AddProvinceDialog::on_btnUpdate_clicked()
{
    m_province->setIDTinh(ui->leCode->text());
    m_province->setTenTinh(ui->leName->text());
    // The dialog stays open with what was typed.
    if (m_province->getIDTinh().isEmpty() || m_province->getTenTinh().isEmpty()) {
        showMessage(QStringLiteral("Trường bắt buộc bị thiếu"));
        return;
    }
    // Kept open with what was typed, to be corrected.
    if (SafeText::hasControls(m_province->getIDTinh()) || SafeText::hasControls(m_province->getTenTinh())) {
        showMessage(QStringLiteral("Tên và mã không được chứa ký tự điều khiển (xuống dòng, tab)."));
        return;
    }
    BusinessController *controller = BusinessController::getInstance();
    if (m_mode == MODE_CREATE) {
        if (controller->createProvince(*m_province)) {
            showMessage(QStringLiteral("Tạo hội đồng sát hạch thành công"));
            done(CreatedCode);
        } else {
            showMessage(QStringLiteral("Tạo hội đồng sát hạch thất bại"));
            accept();
        }
        return;
    }
    if (controller->updateProvince(*m_province)) {
        showMessage(QStringLiteral("Cập nhật hội đồng sát hạch thành công"));
        done(UpdatedCode);
    } else {
        showMessage(QStringLiteral("Cập nhật hội đồng sát hạch thất bại"));
        accept();
    }
}

void AddProvinceDialog::on_btnCancel_clicked()
{
    reject();
}

void AddProvinceDialog::showMessage(const QString &message)
{
    m_box.setTitle(tr("Thông tin"));
    m_box.setContent(message);
    m_box.setModal(true);
    m_box.show();
}
