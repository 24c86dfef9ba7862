#ifndef MODELS_COURSEMODEL_H
#define MODELS_COURSEMODEL_H

#include "records/course.h"
#include "models/recordlistmodel.h"

// The course table of the course manager, over the business controller's
// list of all courses.
class CourseModel : public RecordListModel<Course>
{
    Q_OBJECT

public:
    explicit CourseModel(QObject *parent = nullptr);

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setCourseList(QList<Course *> *list);
    // Appends a copy of the fields the course dialog edits (not Thi, not
    // NgayImport). False when no list has been handed in.
    bool addCourse(const Course &course);
    // The business controller refills the course list in place after an
    // import (refreshAllCourses): call these around it.
    void beginRefresh();
    void endRefresh();
};

#endif // MODELS_COURSEMODEL_H
