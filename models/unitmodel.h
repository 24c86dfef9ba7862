#ifndef MODELS_UNITMODEL_H
#define MODELS_UNITMODEL_H

#include "records/unit.h"
#include "models/recordlistmodel.h"

// The training-unit table of the unit manager, over the business
// controller's list of units. A unit's province belongs to the province list
// and is never deleted here.
class UnitModel : public RecordListModel<Unit>
{
    Q_OBJECT

public:
    explicit UnitModel(QObject *parent = nullptr);

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setUnitList(QList<Unit *> *list);
    // Copies IDDonVi, TenDonVi and the province pointer. False when no list
    // has been handed in.
    bool addUnit(const Unit &unit);
};

#endif // MODELS_UNITMODEL_H
