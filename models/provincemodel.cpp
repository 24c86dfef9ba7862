#include "models/provincemodel.h"

#include <QStringList>

namespace {
const QStringList &provinceHeaders()
{
    static const QStringList headers = {QStringLiteral("Mã"), QStringLiteral("Hội đồng SH")};
    return headers;
}
} // namespace

ProvinceModel::ProvinceModel(QObject *parent) : RecordListModel<Province>(parent) {}

int ProvinceModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : provinceHeaders().size();
}

QVariant ProvinceModel::data(const QModelIndex &index, int role) const
{
    const Province *province = recordAt(index);
    if (!province || role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case 0:
        return province->getIDTinh();
    case 1:
        return province->getTenTinh();
    default:
        return QVariant();
    }
}

QVariant ProvinceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= provinceHeaders().size())
        return QVariant();
    return provinceHeaders().at(section);
}

void ProvinceModel::setProvinceList(QList<Province *> *list)
{
    setList(list);
}

bool ProvinceModel::addProvince(const Province &province)
{
    auto *copy = new Province;
    copy->setIDTinh(province.getIDTinh());
    copy->setTenTinh(province.getTenTinh());
    return appendRecord(copy);
}
