#include "ui/addunitdialog.h"

#include "records/province.h"
#include "records/safetext.h"
#include "records/unit.h"
#include "server/business/businesscontroller.h"
#include "ui_addunitdialog.h"

namespace {
const int MODE_CREATE = 0;
const int MODE_UPDATE = 1;
} // namespace

AddUnitDialog::AddUnitDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::AddUnitDialog), m_box(nullptr), m_unit(new Unit)
{
    ui->setupUi(this);
}

AddUnitDialog::~AddUnitDialog()
{
    delete m_unit;
    delete ui;
}

void AddUnitDialog::fillProvinces()
{
    m_provinces = BusinessController::getInstance()->getAllProvinces();
    // The province shown before stays chosen when it is still listed.
    const QVariant previous = ui->cbProvince->currentData();
    ui->cbProvince->clear();
    for (const Province *province : qAsConst(*m_provinces))
        ui->cbProvince->addItem(province->getIDTinh() + " - " + province->getTenTinh(),
                                province->getIDTinh());
    const int again = previous.isValid() ? ui->cbProvince->findData(previous) : -1;
    if (again >= 0)
        ui->cbProvince->setCurrentIndex(again);
}

Province *AddUnitDialog::provinceOfItem(int index) const
{
    if (!m_provinces || index < 0 || index >= ui->cbProvince->count())
        return nullptr;
    const QString code = ui->cbProvince->itemData(index).toString();
    for (Province *province : qAsConst(*m_provinces)) {
        if (province->getIDTinh() == code)
            return province;
    }
    return nullptr;
}

void AddUnitDialog::showForCreate()
{
    m_mode = MODE_CREATE;
    ui->leCode->setReadOnly(false);
    fillProvinces();
    ui->leCode->clear();
    ui->leName->clear();
    setWindowModality(Qt::ApplicationModal);
    open();
}

void AddUnitDialog::showForEdit(const QString &code, const QString &name, Province *province)
{
    m_mode = MODE_UPDATE;
    ui->leCode->setText(code);
    ui->leCode->setReadOnly(true);
    ui->leName->setText(name);
    fillProvinces();
    if (province) {
        int index = ui->cbProvince->findText(province->getIDTinh() + " - " + province->getTenTinh(),
                                             Qt::MatchFixedString);
        // A council renamed since the unit was read is still the unit's own:
        // keeping another selection would move the unit on saving.
        if (index < 0)
            index = ui->cbProvince->findData(province->getIDTinh());
        if (index >= 0)
            ui->cbProvince->setCurrentIndex(index);
    }
    setWindowModality(Qt::ApplicationModal);
    open();
}

void AddUnitDialog::on_btnUpdate_clicked()
{
    Province *province = provinceOfItem(ui->cbProvince->currentIndex());
    if (ui->cbProvince->count() == 0 || !province) {
        showMessage(QStringLiteral("Chưa có hội đồng sát hạch"));
        reject();
        return;
    }
    m_unit->setIDDonVi(ui->leCode->text());
    m_unit->setTenDonVi(ui->leName->text());
    m_unit->setProvince(province);
    // The dialog stays open with what was typed.
    if (m_unit->getIDDonVi().isEmpty() || m_unit->getTenDonVi().isEmpty()) {
        showMessage(QStringLiteral("Trường bắt buộc bị thiếu"));
        return;
    }
    // Kept open with what was typed, to be corrected.
    if (SafeText::hasControls(m_unit->getIDDonVi()) || SafeText::hasControls(m_unit->getTenDonVi())) {
        showMessage(QStringLiteral("Tên và mã không được chứa ký tự điều khiển (xuống dòng, tab)."));
        return;
    }
    BusinessController *controller = BusinessController::getInstance();
    if (m_mode == MODE_CREATE) {
        if (controller->createUnit(m_unit)) {
            showMessage(QStringLiteral("Tạo đơn vị đào tạo thành công"));
            done(CreatedCode);
        } else {
            showMessage(QStringLiteral("Tạo đơn vị đào tạo thất bại"));
            accept();
        }
        return;
    }
    if (controller->updateUnit(m_unit)) {
        showMessage(QStringLiteral("Cập nhật đơn vị đào tạo thành công"));
        done(UpdatedCode);
    } else {
        showMessage(QStringLiteral("Cập nhật đơn vị đào tạo thất bại"));
        accept();
    }
}

void AddUnitDialog::on_btnCancel_clicked()
{
    reject();
}

void AddUnitDialog::showMessage(const QString &message)
{
    m_box.setTitle(tr("Thông tin"));
    m_box.setContent(message);
    m_box.setModal(true);
    m_box.show();
}
