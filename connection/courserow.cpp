#include "connection/courserow.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

// Installations of the theory-test system keep the exam date either as a
// DATE column or as "yyyyMMdd" text; both must give the same date.
QDate dateOf(const QVariant &value)
{
    if (value.isNull())
        return QDate();
    switch (value.userType()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return value.toDate();
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    const QDate compact = QDate::fromString(text, "yyyyMMdd");
    if (compact.isValid())
        return compact;
    return QDate::fromString(text.left(10), Qt::ISODate);
}

} // namespace

Course courseFromRow(const QSqlQuery &query)
{
    const QSqlRecord row = query.record();
    const auto value = [&](const char *column) {
        const int index = row.indexOf(column);
        return index < 0 ? QVariant() : query.value(index);
    };
    Course course;
    course.setIDKhoaHoc(value("IDKhoaHoc").toString());
    course.setTenKhoaHoc(value("TenKhoaHoc").toString());
    course.setIDDonVi(value("IDDonVi").toString());
    course.setNgayThi(dateOf(value("NgayThi")));
    course.setNamHoc(value("NamHoc").toInt());
    course.setThi(value("Thi").toInt());
    course.setHoiDong(value("HoiDong").toString());
    course.setTrungTam(value("TrungTam").toString());
    course.setTrangThai(value("TrangThai").toInt());
    course.setNgayImport(dateOf(value("NgayImport")));
    course.setGhiChu(value("GhiChu").toString());
    return course;
}
