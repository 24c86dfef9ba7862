#ifndef MODELS_STUDENTMODEL_H
#define MODELS_STUDENTMODEL_H

#include <QAbstractTableModel>
#include <QList>

class StudentInfo;

// The candidate table of the current course. Shows the rows of the business
// controller's StudentInfoList without owning them: the model never deletes
// a row, and the list must outlive the model's use of its rows.
class StudentModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The table's columns. The proxy's filter, the main window and the tests
    // name them by these; ColumnCount is the number of columns.
    enum Column {
        ColumnId,
        ColumnName,
        ColumnOrderNumber,
        ColumnIdentityNumber,
        ColumnBirthDate,
        ColumnLicenceClass,
        ColumnStartTime,
        ColumnEndTime,
        ColumnScore,
        ColumnPassMark,
        ColumnResult,
        // The gender, under the birth date's header text.
        ColumnGender,
        ColumnTheoryResult,
        ColumnState,
        ColumnContent,
        ColumnCount
    };

    // The order number's column shows a number ("007" as 7); this role gives
    // the text the row holds, the key of the candidate's entry and photo.
    static const int OrderNumberTextRole = Qt::UserRole + 1;

    explicit StudentModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Takes rows row .. row + count - 1 out of the table; the rows are not
    // deleted.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // Appends one row at the end; false for a null row.
    bool addStudentInfo(StudentInfo *row);
    // Replaces every row by `rows`, in order. The old rows are only taken out
    // of the table, so their owner may delete them afterwards.
    void setStudentInfoList(const QList<StudentInfo *> &rows);

private:
    QList<StudentInfo *> m_rows;
};

#endif // MODELS_STUDENTMODEL_H
