#ifndef MODELS_STARTINGCOURSEMODEL_H
#define MODELS_STARTINGCOURSEMODEL_H

#include "records/course.h"

#include <QAbstractTableModel>
#include <QList>

// The courses under examination, beside the candidate table: each row reads
// "<code> – <name>" (CourseEntry), its tooltip the same, the name alone in
// CourseEntry::NameRole. Holds its own copies of the courses.
class StartingCourseModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit StartingCourseModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // The list is only ever replaced as a whole; row removal is refused.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    void setCourseList(const QList<Course> &courses);
    // Appends copies as the last rows; false for an empty list.
    bool addCourses(const QList<Course> &courses);
    // Removes every row; false when there was none.
    bool clear();
    // TenKhoaHoc of the row, or INVALID_ID for a row outside the list.
    QString getCourseNameAt(int row) const;
    // IDKhoaHoc of the row, or INVALID_ID for a row outside the list.
    QString getCourseCodeAt(int row) const;

private:
    QList<Course> m_courses;
};

#endif // MODELS_STARTINGCOURSEMODEL_H
