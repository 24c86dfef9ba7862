#ifndef MODELS_PROXYSTUDENTINFOMODEL_H
#define MODELS_PROXYSTUDENTINFOMODEL_H

#include <QSortFilterProxyModel>
#include <QString>

// The candidate table as the operator sees it: the rows of the StudentModel
// that match the search box and the result filter.
class ProxyStudentInfoModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ProxyStudentInfoModel(QObject *parent = nullptr);

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

public slots:
    // The text is a pattern matched, ignoring case, anywhere in the order
    // number, the identity number or the name; blanks only clear the search.
    void search_data_by_string(const QString &text);
    // An index into RESULT_FILTER_LIST; 0, or an index outside it, shows all.
    void filterByStudentTypeIndex(int index);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool matchesSearch(const QString &orderNumber, const QString &identityNumber,
                       const QString &name) const;
    bool matchesFilter(const QString &resultLabel, int state) const;

    QString m_searchText;
    QString m_filterLabel;
};

#endif // MODELS_PROXYSTUDENTINFOMODEL_H
