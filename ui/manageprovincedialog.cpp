#include "ui/manageprovincedialog.h"

#include "records/province.h"
#include "server/business/businesscontroller.h"
#include "ui/addprovincedialog.h"
#include "models/provincemodel.h"
#include "ui_manageprovincedialog.h"

namespace {
ManageRecordDialog::Setup provinceSetup()
{
    return {AddProvinceDialog::CreatedCode, AddProvinceDialog::UpdatedCode,
            ManageProvinceDialog::DeleteCode, QStringLiteral("Bạn chưa lựa chọn hội đồng sát hạch"),
            {150, 300}};
}
} // namespace

ManageProvinceDialog::ManageProvinceDialog(QWidget *parent)
    : ManageRecordDialog(provinceSetup(), parent), ui(new Ui::ManageProvinceDialog)
{
    ui->setupUi(this);
    m_model = new ProvinceModel(this);
    m_editor = new AddProvinceDialog(this);
    attach(ui->provinceView, m_model, m_editor);
    connect(m_model, &ProvinceModel::dataChanged, this, &ManageProvinceDialog::onUpdateProvinceTable);
}

ManageProvinceDialog::~ManageProvinceDialog()
{
    delete ui;
}

void ManageProvinceDialog::loadList()
{
    m_provinces = BusinessController::getInstance()->getAllProvinces();
    m_model->setProvinceList(m_provinces);
}

int ManageProvinceDialog::listSize() const
{
    return m_provinces ? m_provinces->size() : 0;
}

QString ManageProvinceDialog::idAt(int row) const
{
    return m_provinces->at(row)->getIDTinh();
}

void ManageProvinceDialog::openForCreate()
{
    m_editor->showForCreate();
}

void ManageProvinceDialog::openForEdit(int row)
{
    const Province *province = m_provinces->at(row);
    m_editor->showForEdit(province->getIDTinh(), province->getTenTinh());
}

SqlResultInfo ManageProvinceDialog::deleteById(const QString &id)
{
    return BusinessController::getInstance()->deleteProvince(id);
}

void ManageProvinceDialog::takeAdded()
{
    m_model->addProvince(*m_editor->getProvince());
}

void ManageProvinceDialog::takeChanged(int row)
{
    updateProvince(*m_editor->getProvince(), row);
}

QString ManageProvinceDialog::editedId() const
{
    return m_editor->getProvince()->getIDTinh();
}

void ManageProvinceDialog::updateProvince(const Province &province, int row)
{
    if (!m_provinces || row < 0 || row >= m_provinces->size())
        return;
    Province *listed = m_provinces->at(row);
    listed->setIDTinh(province.getIDTinh());
    listed->setTenTinh(province.getTenTinh());
}

void ManageProvinceDialog::onInsertProvinceFromDB()
{
    loadIfNeeded();
    m_model->insertRowAtEnd();
}

void ManageProvinceDialog::onUpdateProvinceTable()
{
    repaintTable();
}
