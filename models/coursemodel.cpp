#include "models/coursemodel.h"

#include "records/coursestatuslabels.h"

#include <QStringList>

namespace {
const QStringList &courseHeaders()
{
    static const QStringList headers = {
        QStringLiteral("Đơn vị đào tạo"), QStringLiteral("Mã khóa"),  QStringLiteral("Tên khóa"),
        QStringLiteral("Ngày thi"),       QStringLiteral("Năm học"),  QStringLiteral("Trạng thái"),
    };
    return headers;
}
} // namespace

CourseModel::CourseModel(QObject *parent) : RecordListModel<Course>(parent) {}

int CourseModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : courseHeaders().size();
}

QVariant CourseModel::data(const QModelIndex &index, int role) const
{
    const Course *course = recordAt(index);
    if (!course || role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case 0:
        return course->getTrungTam();
    case 1:
        return course->getIDKhoaHoc();
    case 2:
        return course->getTenKhoaHoc();
    case 3:
        return course->getNgayThi().toString(QStringLiteral("dd/MM/yyyy"));
    case 4:
        return course->getNamHoc();
    case 5:
        return CourseStatusLabels::getInstance()->labelOf(course->getTrangThai());
    default:
        return QVariant();
    }
}

QVariant CourseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= courseHeaders().size())
        return QVariant();
    return courseHeaders().at(section);
}

void CourseModel::setCourseList(QList<Course *> *list)
{
    setList(list);
}

bool CourseModel::addCourse(const Course &course)
{
    auto *copy = new Course;
    copy->setIDKhoaHoc(course.getIDKhoaHoc());
    copy->setTenKhoaHoc(course.getTenKhoaHoc());
    copy->setNgayThi(course.getNgayThi());
    copy->setNamHoc(course.getNamHoc());
    copy->setTrangThai(course.getTrangThai());
    copy->setHoiDong(course.getHoiDong());
    copy->setIDDonVi(course.getIDDonVi());
    copy->setTrungTam(course.getTrungTam());
    copy->setGhiChu(course.getGhiChu());
    return appendRecord(copy);
}

void CourseModel::beginRefresh()
{
    beginListRefill();
}

void CourseModel::endRefresh()
{
    endListRefill();
}
