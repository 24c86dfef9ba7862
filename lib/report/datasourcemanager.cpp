#include "lib/report/datasourcemanager.h"

#include <QAbstractItemModel>

namespace LimeReport {

void DataSourceManager::setReportVariable(const QString &name, const QVariant &value)
{
    m_variables.insert(name, value);
}

QVariant DataSourceManager::variable(const QString &name)
{
    return variableValue(name);
}

QVariant DataSourceManager::variableValue(const QString &name) const
{
    return m_variables.value(name);
}

bool DataSourceManager::addModel(const QString &name, QAbstractItemModel *model, bool owned)
{
    if (!model || name.isEmpty())
        return false;
    Table table;
    const int columns = model->columnCount();
    const int rows = model->rowCount();
    for (int c = 0; c < columns; ++c)
        table.headers << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    table.rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QVector<QVariant> row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << model->data(model->index(r, c), Qt::DisplayRole);
        table.rows << row;
    }
    m_tables.insert(name, table);
    if (owned)
        delete model;
    return true;
}

QVariant DataSourceManager::fieldValue(const QString &source, const QString &column, int row) const
{
    const auto table = m_tables.constFind(source);
    if (table == m_tables.constEnd() || row < 0 || row >= table->rows.size())
        return QVariant();
    int index = table->headers.indexOf(column);
    if (index < 0) {
        bool ok = false;
        const int number = column.toInt(&ok);
        if (!ok)
            return QVariant();
        index = number - 1;
    }
    const QVector<QVariant> &cells = table->rows.at(row);
    if (index < 0 || index >= cells.size())
        return QVariant();
    return cells.at(index);
}

void DataSourceManager::clear()
{
    m_variables.clear();
    m_tables.clear();
}

} // namespace LimeReport
