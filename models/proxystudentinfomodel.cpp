#include "models/proxystudentinfomodel.h"

#include "common/constants.h"
#include "models/studentmodel.h"

#include <QRegularExpression>

namespace {
const int AbsentFilterIndex = 3;
const int TestingFilterIndex = 4;
} // namespace

ProxyStudentInfoModel::ProxyStudentInfoModel(QObject *parent) : QSortFilterProxyModel(parent) {}

QVariant ProxyStudentInfoModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // Row numbers count the shown rows, not the source rows.
    const QAbstractItemModel *source = sourceModel();
    return source ? source->headerData(section, orientation, role) : QVariant();
}

void ProxyStudentInfoModel::search_data_by_string(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        m_searchText.clear();
        invalidateFilter();
        return;
    }
    if (text == m_searchText)
        return;
    m_searchText = text;
    invalidateFilter();
}

void ProxyStudentInfoModel::filterByStudentTypeIndex(int index)
{
    // The choice box reports -1 while it is being refilled.
    if (index <= 0 || index >= RESULT_FILTER_LIST.size())
        m_filterLabel.clear();
    else
        m_filterLabel = RESULT_FILTER_LIST.at(index);
    invalidateFilter();
}

bool ProxyStudentInfoModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QAbstractItemModel *source = sourceModel();
    if (!source)
        return false;
    auto cell = [&](int column) {
        return source->index(sourceRow, column, sourceParent).data(Qt::DisplayRole);
    };
    const QString name = cell(StudentModel::ColumnName).toString().toLower();
    const QString orderNumber = QString::number(cell(StudentModel::ColumnOrderNumber).toInt());
    const QString identityNumber = cell(StudentModel::ColumnIdentityNumber).toString().toLower();
    const QString resultLabel = cell(StudentModel::ColumnResult).toString().toLower();
    const int state = cell(StudentModel::ColumnState).toInt();

    return matchesSearch(orderNumber, identityNumber, name) && matchesFilter(resultLabel, state);
}

bool ProxyStudentInfoModel::matchesSearch(const QString &orderNumber, const QString &identityNumber,
                                          const QString &name) const
{
    if (m_searchText.isEmpty())
        return true;
    // The operator may type a pattern ("Nguy.n"); text that is not a valid
    // pattern finds nothing.
    const QRegularExpression pattern(QStringLiteral(".*") + m_searchText.toLower()
                                     + QStringLiteral(".*"));
    if (!pattern.isValid())
        return false;
    return orderNumber.contains(pattern) || identityNumber.contains(pattern)
           || name.contains(pattern);
}

bool ProxyStudentInfoModel::matchesFilter(const QString &resultLabel, int state) const
{
    if (m_filterLabel.isEmpty())
        return true;
    if (m_filterLabel == RESULT_FILTER_LIST.at(TestingFilterIndex))
        return state == 1;
    if (m_filterLabel == RESULT_FILTER_LIST.at(AbsentFilterIndex))
        return resultLabel.isEmpty() && state == 0;
    return resultLabel == m_filterLabel.toLower();
}
