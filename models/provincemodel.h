#ifndef MODELS_PROVINCEMODEL_H
#define MODELS_PROVINCEMODEL_H

#include "records/province.h"
#include "models/recordlistmodel.h"

// The council table of the province manager, over the business controller's
// list of provinces.
class ProvinceModel : public RecordListModel<Province>
{
    Q_OBJECT

public:
    explicit ProvinceModel(QObject *parent = nullptr);

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setProvinceList(QList<Province *> *list);
    // False when no list has been handed in.
    bool addProvince(const Province &province);
};

#endif // MODELS_PROVINCEMODEL_H
