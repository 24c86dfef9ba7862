#include "models/startingcoursemodel.h"

#include "common/constants.h"
#include "models/courseentry.h"

StartingCourseModel::StartingCourseModel(QObject *parent) : QAbstractTableModel(parent) {}

int StartingCourseModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_courses.size();
}

int StartingCourseModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant StartingCourseModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_courses.size() || index.column() != 0)
        return QVariant();
    const Course &course = m_courses.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return CourseEntry::text(course.getIDKhoaHoc(), course.getTenKhoaHoc());
    case CourseEntry::NameRole:
        return course.getTenKhoaHoc();
    default:
        return QVariant();
    }
}

QVariant StartingCourseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    Q_UNUSED(section)
    Q_UNUSED(orientation)
    Q_UNUSED(role)
    return QVariant();
}

bool StartingCourseModel::removeRows(int row, int count, const QModelIndex &parent)
{
    Q_UNUSED(row)
    Q_UNUSED(count)
    Q_UNUSED(parent)
    return false;
}

void StartingCourseModel::setCourseList(const QList<Course> &courses)
{
    // A view may already show the previous list.
    beginResetModel();
    m_courses = courses;
    endResetModel();
}

bool StartingCourseModel::addCourses(const QList<Course> &courses)
{
    if (courses.isEmpty())
        return false;
    const int first = m_courses.size();
    beginInsertRows(QModelIndex(), first, first + courses.size() - 1);
    m_courses.append(courses);
    endInsertRows();
    return true;
}

bool StartingCourseModel::clear()
{
    if (m_courses.isEmpty())
        return false;
    beginRemoveRows(QModelIndex(), 0, m_courses.size() - 1);
    m_courses.clear();
    endRemoveRows();
    return true;
}

QString StartingCourseModel::getCourseNameAt(int row) const
{
    if (row < 0 || row >= m_courses.size())
        return INVALID_ID;
    return m_courses.at(row).getTenKhoaHoc();
}

QString StartingCourseModel::getCourseCodeAt(int row) const
{
    if (row < 0 || row >= m_courses.size())
        return INVALID_ID;
    return m_courses.at(row).getIDKhoaHoc();
}
