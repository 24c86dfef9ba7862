#include "models/unitmodel.h"

#include "records/province.h"

#include <QStringList>

namespace {
const QStringList &unitHeaders()
{
    static const QStringList headers = {QStringLiteral("Mã đơn vị"), QStringLiteral("Tên đơn vị"),
                                        QStringLiteral("Sở giao thông")};
    return headers;
}
} // namespace

UnitModel::UnitModel(QObject *parent) : RecordListModel<Unit>(parent) {}

int UnitModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : unitHeaders().size();
}

QVariant UnitModel::data(const QModelIndex &index, int role) const
{
    const Unit *unit = recordAt(index);
    if (!unit || role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case 0:
        return unit->getIDDonVi();
    case 1:
        return unit->getTenDonVi();
    case 2: {
        // The unit read leaves the province null when the unit names a
        // province that is not in the province table.
        const Province *province = unit->getProvince();
        return province ? province->getTenTinh() : QString();
    }
    default:
        return QVariant();
    }
}

QVariant UnitModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= unitHeaders().size())
        return QVariant();
    return unitHeaders().at(section);
}

void UnitModel::setUnitList(QList<Unit *> *list)
{
    setList(list);
}

bool UnitModel::addUnit(const Unit &unit)
{
    auto *copy = new Unit;
    copy->setIDDonVi(unit.getIDDonVi());
    copy->setTenDonVi(unit.getTenDonVi());
    copy->setProvince(unit.getProvince());
    return appendRecord(copy);
}
