#ifndef LIB_REPORT_DATASOURCEMANAGER_H
#define LIB_REPORT_DATASOURCEMANAGER_H

#include "lib/report/idatasourcemanager.h"

#include <QHash>
#include <QStringList>
#include <QVector>

namespace LimeReport {

// The engine's variables and copied tables; one per engine.
class DataSourceManager : public IDataSourceManager
{
public:
    DataSourceManager() = default;
    ~DataSourceManager() override = default;

    void setReportVariable(const QString &name, const QVariant &value) override;
    QVariant variable(const QString &name) override;
    bool addModel(const QString &name, QAbstractItemModel *model, bool owned) override;

    QVariant variableValue(const QString &name) const;
    // The cell of a copied table: the column is the header text of a column
    // or its number counted from 1. Invalid when the source, the column or
    // the row does not exist.
    QVariant fieldValue(const QString &source, const QString &column, int row = 0) const;

    // Forgets every variable and table.
    void clear();

private:
    struct Table
    {
        QStringList headers;
        QVector<QVector<QVariant>> rows;
    };

    QHash<QString, QVariant> m_variables;
    QHash<QString, Table> m_tables;
};

} // namespace LimeReport

#endif // LIB_REPORT_DATASOURCEMANAGER_H
