#ifndef MODELS_RECORDLISTMODEL_H
#define MODELS_RECORDLISTMODEL_H

#include <QAbstractTableModel>
#include <QList>

// Rows of a list of heap records that the business controller caches and
// shares with the management dialogs. The model edits that list in place and
// deletes the records it removes.
//
// The shared list can grow or be replaced without the model being told first
// (an import appends to it, a refresh refills it), so the model keeps the row
// count it has announced to its views instead of reading the list's size:
// the views never see a row they were not told about, and insertRowAtEnd can
// announce exactly the rows that are still unannounced.
template <typename Record>
class RecordListModel : public QAbstractTableModel
{
public:
    explicit RecordListModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_announcedRows;
    }

    // Removes the records at rows row .. row + count - 1 from the list and
    // deletes them.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override
    {
        if (parent.isValid() || row < 0 || count <= 0 || row + count > m_announcedRows)
            return false;
        beginRemoveRows(QModelIndex(), row, row + count - 1);
        for (int i = 0; i < count; ++i) {
            if (m_list && row < m_list->size())
                delete m_list->takeAt(row);
        }
        m_announcedRows -= count;
        endRemoveRows();
        return true;
    }

    // Brings the views up to a list that another owner has changed at its end
    // (a record appended after an import): announces the records not yet
    // announced, or the end rows that are no longer in the list.
    bool insertRowAtEnd(const QModelIndex &parent = QModelIndex())
    {
        Q_UNUSED(parent)
        if (!m_list)
            return false;
        announceListSize();
        return true;
    }

protected:
    // The list may already hold records when it is handed in, and a view may
    // already show the previous list, so the views are reset onto it.
    void setList(QList<Record *> *list)
    {
        beginResetModel();
        m_list = list;
        m_announcedRows = list ? list->size() : 0;
        endResetModel();
    }

    // Around a refill of the shared list in place (its records deleted and
    // replaced by fresh ones): the views drop every index into the old
    // records first and take up the new list whole.
    void beginListRefill() { beginResetModel(); }
    void endListRefill()
    {
        m_announcedRows = m_list ? m_list->size() : 0;
        endResetModel();
    }

    // Appends `record` (a new heap copy the list owns) as the last row.
    bool appendRecord(Record *record)
    {
        if (!m_list) {
            delete record;
            return false;
        }
        announceListSize();
        const int row = m_list->size();
        beginInsertRows(QModelIndex(), row, row);
        m_list->append(record);
        m_announcedRows = m_list->size();
        endInsertRows();
        return true;
    }

    // The record shown at `index`, or null for an index that is not one of
    // this model's rows.
    const Record *recordAt(const QModelIndex &index) const
    {
        if (!index.isValid() || index.model() != this || !m_list || index.row() >= m_announcedRows
            || index.row() >= m_list->size() || index.column() >= columnCount())
            return nullptr;
        return m_list->at(index.row());
    }

private:
    void announceListSize()
    {
        const int size = m_list ? m_list->size() : 0;
        if (size > m_announcedRows) {
            beginInsertRows(QModelIndex(), m_announcedRows, size - 1);
            m_announcedRows = size;
            endInsertRows();
        } else if (size < m_announcedRows) {
            beginRemoveRows(QModelIndex(), size, m_announcedRows - 1);
            m_announcedRows = size;
            endRemoveRows();
        }
    }

    QList<Record *> *m_list = nullptr;
    int m_announcedRows = 0;
};

#endif // MODELS_RECORDLISTMODEL_H
