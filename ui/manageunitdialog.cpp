#include "ui/manageunitdialog.h"

#include "records/province.h"
#include "records/unit.h"
#include "server/business/businesscontroller.h"
#include "ui/addunitdialog.h"
#include "models/unitmodel.h"
#include "ui_manageunitdialog.h"

namespace {
ManageRecordDialog::Setup unitSetup()
{
    return {AddUnitDialog::CreatedCode, AddUnitDialog::UpdatedCode, ManageUnitDialog::DeleteCode,
            QStringLiteral("Bạn chưa lựa chọn đơn vị đào tạo"), {150, 330, 200}};
}

// Every listed unit carries a province of its own (as the units read from
// the database do); the editing dialog's unit points at one of the
// controller's provinces, so the list gets a copy.
Province *ownCopy(const Province *province)
{
    return province ? new Province(*province) : nullptr;
}
} // namespace

ManageUnitDialog::ManageUnitDialog(QWidget *parent)
    : ManageRecordDialog(unitSetup(), parent), ui(new Ui::ManageUnitDialog)
{
    ui->setupUi(this);
    m_model = new UnitModel(this);
    m_editor = new AddUnitDialog(this);
    attach(ui->unitView, m_model, m_editor);
    connect(m_model, &UnitModel::dataChanged, this, &ManageUnitDialog::onUpdateUnitTable);
}

ManageUnitDialog::~ManageUnitDialog()
{
    delete ui;
}

void ManageUnitDialog::loadList()
{
    m_units = BusinessController::getInstance()->getAllUnits();
    m_model->setUnitList(m_units);
}

int ManageUnitDialog::listSize() const
{
    return m_units ? m_units->size() : 0;
}

QString ManageUnitDialog::idAt(int row) const
{
    return m_units->at(row)->getIDDonVi();
}

void ManageUnitDialog::openForCreate()
{
    m_editor->showForCreate();
}

void ManageUnitDialog::openForEdit(int row)
{
    const Unit *unit = m_units->at(row);
    m_editor->showForEdit(unit->getIDDonVi(), unit->getTenDonVi(), unit->getProvince());
}

SqlResultInfo ManageUnitDialog::deleteById(const QString &id)
{
    return BusinessController::getInstance()->deleteUnit(id);
}

void ManageUnitDialog::takeAdded()
{
    Unit unit = *m_editor->getUnit();
    unit.setProvince(ownCopy(unit.getProvince()));
    if (!m_model->addUnit(unit))
        delete unit.getProvince();
}

void ManageUnitDialog::takeChanged(int row)
{
    updateUnit(*m_editor->getUnit(), row);
}

QString ManageUnitDialog::editedId() const
{
    return m_editor->getUnit()->getIDDonVi();
}

void ManageUnitDialog::removeRecordRow(int row)
{
    // The model leaves a unit's province alone; a listed unit's province is
    // its own, so it goes with the unit.
    Province *province = m_units->at(row)->getProvince();
    ManageRecordDialog::removeRecordRow(row);
    delete province;
}

void ManageUnitDialog::updateUnit(const Unit &unit, int row)
{
    if (!m_units || row < 0 || row >= m_units->size())
        return;
    Unit *listed = m_units->at(row);
    listed->setIDDonVi(unit.getIDDonVi());
    listed->setTenDonVi(unit.getTenDonVi());
    if (listed->getProvince() != unit.getProvince()) {
        delete listed->getProvince();
        listed->setProvince(ownCopy(unit.getProvince()));
    }
}

void ManageUnitDialog::onInsertUnitFromDB()
{
    loadIfNeeded();
    m_model->insertRowAtEnd();
}

void ManageUnitDialog::onUpdateUnitTable()
{
    repaintTable();
}
