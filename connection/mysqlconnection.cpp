#include "connection/mysqlconnection.h"

#include "common/constants.h"
#include "records/account.h"
#include "records/crudstudentinfo.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"

#include <QDateTime>
#include <QDebug>
#include <QMutexLocker>
#include <QSqlQuery>
#include <QVariant>

namespace {

// A null date-time must store SQL NULL, not an empty text that strict mode
// refuses for a DATETIME column.
QVariant dateTimeValue(const QDateTime &value)
{
    return value.isValid() ? QVariant(value) : QVariant();
}

QString tableTimeText(const QVariant &value)
{
    const QDateTime time = value.toDateTime();
    if (!time.isValid())
        return QString("");
    return time.toString("yyyy-MM-dd hh:mm:ss");
}

bool containsText(const QStringList &list, const QString &text)
{
    return list.contains(text, Qt::CaseInsensitive);
}

} // namespace

MySqlConnection::MySqlConnection(QObject *parent) : MySqlConnectionBase(parent) {}

MySqlConnection::~MySqlConnection() = default;

// --- courses ---------------------------------------------------------------

bool MySqlConnection::createCourse(Course *course)
{
    if (!course)
        return false;
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, NgayThi, NamHoc, TrangThai, IDDonVi, "
                  "TrungTam, HoiDong, GhiChu)VALUES (:IDKhoaHoc, :TenKhoaHoc, :NgayThi, :NamHoc, "
                  ":TrangThai, :IDDonVi, :TrungTam, :HoiDong, :GhiChu)");
    query.bindValue(":IDKhoaHoc", course->getIDKhoaHoc());
    query.bindValue(":TenKhoaHoc", course->getTenKhoaHoc());
    query.bindValue(":NgayThi", course->getNgayThi().toString("yyyy-MM-dd"));
    query.bindValue(":NamHoc", course->getNamHoc());
    query.bindValue(":TrangThai", course->getTrangThai());
    query.bindValue(":IDDonVi", course->getIDDonVi());
    query.bindValue(":TrungTam", course->getTrungTam());
    query.bindValue(":HoiDong", course->getHoiDong());
    query.bindValue(":GhiChu", course->getGhiChu());
    if (!query.exec()) {
        qDebug() << "insert course failed" << query.lastError();
        return false;
    }
    qDebug() << "insert course success";
    return true;
}

bool MySqlConnection::updateCourse(Course *course)
{
    if (!course)
        return false;
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("UPDATE khoathi SET TenKhoaHoc = :TenKhoaHoc, IDDonVi = :IDDonVi, NgayThi = :NgayThi, "
                  "HoiDong = :HoiDong, TrungTam = :TrungTam, NamHoc = :NamHoc, TrangThai = :TrangThai, "
                  "GhiChu = :GhiChu WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bindValue(":TenKhoaHoc", course->getTenKhoaHoc());
    query.bindValue(":IDDonVi", course->getIDDonVi());
    query.bindValue(":NgayThi", course->getNgayThi().toString("yyyy-MM-dd"));
    query.bindValue(":HoiDong", course->getHoiDong());
    query.bindValue(":TrungTam", course->getTrungTam());
    query.bindValue(":NamHoc", course->getNamHoc());
    query.bindValue(":TrangThai", course->getTrangThai());
    query.bindValue(":GhiChu", course->getGhiChu());
    query.bindValue(":IDKhoaHoc", course->getIDKhoaHoc());
    if (!query.exec()) {
        qDebug() << "update khoathi failed" << query.lastError();
        return false;
    }
    qDebug() << "update khoathi success";
    return true;
}

SqlResultInfo MySqlConnection::deleteCourse(const QString &id)
{
    QMutexLocker locker(&m_mutex);
    SqlResultInfo result;

    QSqlQuery guard(m_db);
    guard.prepare("select * from khoathi where IDKhoaHoc = :IDKhoaHoc and TrangThai = :TrangThai");
    guard.bindValue(":IDKhoaHoc", id);
    guard.bindValue(":TrangThai", 2);
    // Without an answer to the guard the course may be under examination:
    // delete nothing.
    if (!guard.exec()) {
        qDebug() << "get khoathi info failed" << guard.lastError();
        result.setMessage(MSG_SQL_ERROR);
        return result;
    }
    if (guard.next()) {
        qDebug() << "khoathi is starting";
        result.setMessage(MSG_COURSE_IN_EXAM);
        return result;
    }

    QSqlQuery entries(m_db);
    entries.prepare("DELETE FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc");
    entries.bindValue(":IDKhoaHoc", id);
    if (!entries.exec()) {
        qDebug() << "remove khoathi_thisinh: " << entries.lastError();
        result.setMessage(MSG_SQL_ERROR);
        return result;
    }
    qDebug() << "remove khoathi_thisinh success";

    QSqlQuery course(m_db);
    course.prepare("DELETE FROM khoathi WHERE IDKhoaHoc = :IDKhoaHoc");
    course.bindValue(":IDKhoaHoc", id);
    if (!course.exec()) {
        qDebug() << "remove khoathi failed" << course.lastError();
        result.setMessage(MSG_SQL_ERROR);
    } else {
        qDebug() << "remove khoathi success";
        result.setCode(0);
    }
    return result;
}

bool MySqlConnection::insertKhoaThi(Course course)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, HoiDong, TrungTam, "
                  "NgayImport, GhiChu, TrangThai)VALUES (:IDKhoaHoc, :TenKhoaHoc, :IDDonVi, :NgayThi, "
                  ":HoiDong, :TrungTam, :NgayImport, :GhiChu, :TrangThai)");
    query.bindValue(":IDKhoaHoc", course.getIDKhoaHoc());
    query.bindValue(":TenKhoaHoc", course.getTenKhoaHoc());
    query.bindValue(":IDDonVi", course.getIDDonVi());
    query.bindValue(":NgayThi", course.getNgayThi().toString("yyyyMMdd"));
    query.bindValue(":HoiDong", course.getHoiDong());
    query.bindValue(":TrungTam", course.getTrungTam());
    query.bindValue(":NgayImport", course.getNgayImport().toString("yyyyMMdd"));
    query.bindValue(":GhiChu", course.getGhiChu());
    query.bindValue(":TrangThai", 1);
    qDebug() << "MySqlConnection::insertKhoaThi " << query.lastError();
    return query.exec();
}

bool MySqlConnection::isCourseExist(const QString &id)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("SELECT IDKhoaHoc FROM khoathi WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bindValue(":IDKhoaHoc", id);
    query.exec();
    return query.size() > 0;
}

QList<Course *> *MySqlConnection::getAllCourses()
{
    QMutexLocker locker(&m_mutex);
    auto *courses = new QList<Course *>;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM khoathi ORDER BY NgayThi DESC");
    query.exec();
    while (query.next()) {
        auto *course = new Course;
        course->setTenKhoaHoc(query.value("TenKhoaHoc").toString());
        course->setIDKhoaHoc(query.value("IDKhoaHoc").toString());
        course->setIDDonVi(query.value("IDDonVi").toString());
        course->setHoiDong(query.value("HoiDong").toString());
        course->setTrungTam(query.value("TrungTam").toString());
        course->setNgayThi(query.value("NgayThi").toDate());
        course->setNamHoc(query.value("NamHoc").toInt());
        course->setTrangThai(query.value("TrangThai").toInt());
        course->setGhiChu(query.value("GhiChu").toString());
        courses->append(course);
    }
    return courses;
}

QList<Course *> MySqlConnection::getRecentCourses()
{
    QMutexLocker locker(&m_mutex);
    QList<Course *> courses;
    QSqlQuery query(m_db);
    // Against the start of today, so a course dated exactly six months ago
    // is still listed.
    query.prepare("select * from khoathi where NgayThi >= date_sub(curdate(), interval 6 month) "
                  "order by NgayThi desc;");
    query.exec();
    while (query.next()) {
        auto *course = new Course;
        course->setIDKhoaHoc(query.value("IDKhoaHoc").toString());
        course->setTenKhoaHoc(query.value("TenKhoaHoc").toString());
        course->setIDDonVi(query.value("IDDonVi").toString());
        course->setNamHoc(query.value("NamHoc").toInt());
        course->setThi(query.value("Thi").toInt());
        course->setHoiDong(query.value("HoiDong").toString());
        course->setTrungTam(query.value("TrungTam").toString());
        course->setTrangThai(query.value("TrangThai").toInt());
        course->setNgayThi(query.value("NgayThi").toDate());
        courses.append(course);
    }
    return courses;
}

Course MySqlConnection::getCourse(const QString &id)
{
    QMutexLocker locker(&m_mutex);
    Course course;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM khoathi WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bindValue(":IDKhoaHoc", id);
    query.exec();
    query.first();
    course.setIDKhoaHoc(fieldOf(query, "IDKhoaHoc").toString());
    course.setTenKhoaHoc(fieldOf(query, "TenKhoaHoc").toString());
    course.setIDDonVi(fieldOf(query, "IDDonVi").toString());
    course.setNgayThi(fieldOf(query, "NgayThi").toDate());
    course.setNamHoc(fieldOf(query, "NamHoc").toInt());
    course.setThi(fieldOf(query, "Thi").toInt());
    course.setHoiDong(fieldOf(query, "HoiDong").toString());
    course.setTrungTam(fieldOf(query, "TrungTam").toString());
    course.setTrangThai(fieldOf(query, "TrangThai").toInt());
    course.setNgayImport(fieldOf(query, "NgayImport").toDate());
    course.setGhiChu(fieldOf(query, "GhiChu").toString());
    return course;
}

QList<Course> MySqlConnection::getStartableCourses()
{
    QMutexLocker locker(&m_mutex);
    QList<Course> courses;
    QSqlQuery query(m_db);
    query.prepare("select * from khoathi where TrangThai = :Start or TrangThai = :Prepare or "
                  "TrangThai IS NULL");
    query.bindValue(":Start", 2);
    query.bindValue(":Prepare", 1);
    query.exec();
    while (query.next()) {
        Course course;
        course.setTenKhoaHoc(query.value("TenKhoaHoc").toString());
        course.setIDKhoaHoc(query.value("IDKhoaHoc").toString());
        courses.append(course);
    }
    return courses;
}

CourseReportSummary MySqlConnection::getCourseReportSummary(const QString &id)
{
    QMutexLocker locker(&m_mutex);
    CourseReportSummary summary;

    {
        QSqlQuery query(m_db);
        query.prepare("select count(ID) as nb, TrangThai from khoathi_thisinh where IDKhoaHoc = "
                      ":IDKhoaHoc group by TrangThai");
        query.bindValue(":IDKhoaHoc", id);
        query.exec();
        while (query.next()) {
            const int nb = query.value("nb").toInt();
            switch (query.value("TrangThai").toInt()) {
            case 0: // also the NULL group
                summary.setNotContest(summary.getNotContest() + nb);
                break;
            case 1:
                summary.setContest(nb);
                break;
            case 2:
                summary.setContested(nb);
                break;
            default:
                break;
            }
        }
        summary.setTotal(summary.getContest() + summary.getContested() + summary.getNotContest());
    }

    {
        QSqlQuery query(m_db);
        query.prepare("select count(ID) as nb, KetQuaMoPhong from khoathi_thisinh where IDKhoaHoc = "
                      ":IDKhoaHoc group by KetQuaMoPhong");
        query.bindValue(":IDKhoaHoc", id);
        query.exec();
        while (query.next()) {
            const int nb = query.value("nb").toInt();
            const QString result = query.value("KetQuaMoPhong").toString().trimmed();
            if (containsText(PASS_RESULT_LIST, result))
                summary.setPass(summary.getPass() + nb);
            else if (containsText(FAIL_RESULT_LIST, result))
                summary.setNotPass(summary.getNotPass() + nb);
        }
    }

    const Course course = getCourse(id);
    const Unit unit = getUnit(course.getIDDonVi());
    const Province province = getProvince(unit.getIDTinh());
    summary.setProvinceName(province.getTenTinh());
    summary.setUnitName(unit.getTenDonVi());
    summary.setIdKhoaHoc(id);
    summary.setCourseName(course.getTenKhoaHoc());
    summary.setContestDate(course.getNgayThi());
    return summary;
}

// --- provinces -------------------------------------------------------------

bool MySqlConnection::createProvince(Province province)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("INSERT INTO tinh (IDTinh, TenTinh)VALUES (:IDTinh, :TenTinh)");
    query.bindValue(":IDTinh", province.getIDTinh());
    query.bindValue(":TenTinh", province.getTenTinh());
    if (!query.exec()) {
        qDebug() << "insert tinh failed" << query.lastError();
        return false;
    }
    qDebug() << "insert tinh success";
    return true;
}

bool MySqlConnection::insertProvince(Province province)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("INSERT INTO tinh (IDTinh, TenTinh)VALUES (:IDTinh, :TenTinh)");
    query.bindValue(":IDTinh", province.getIDTinh());
    query.bindValue(":TenTinh", province.getTenTinh());
    qDebug() << "MySqlConnection::insertProvince " << query.lastError();
    return query.exec();
}

bool MySqlConnection::updateProvince(Province province)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("UPDATE tinh SET TenTinh = :TenTinh WHERE IDTinh = :IDTinh");
    query.bindValue(":TenTinh", province.getTenTinh());
    query.bindValue(":IDTinh", province.getIDTinh());
    if (!query.exec()) {
        qDebug() << "update tinh failed" << query.lastError();
        return false;
    }
    qDebug() << "update tinh success";
    return true;
}

SqlResultInfo MySqlConnection::deleteProvince(const QString &id)
{
    QMutexLocker locker(&m_mutex);
    SqlResultInfo result;

    QSqlQuery guard(m_db);
    guard.prepare("select * from donvi where IDTinh = :IDTinh");
    guard.bindValue(":IDTinh", id);
    // Without an answer to the guard a unit may still use the province.
    if (!guard.exec()) {
        qDebug() << "get donvi info failed" << guard.lastError();
        result.setMessage(MSG_SQL_ERROR);
        return result;
    }
    if (guard.next()) {
        qDebug() << "Exist donvi using tinh: " << id;
        result.setMessage(MSG_PROVINCE_IN_USE);
        return result;
    }

    QSqlQuery query(m_db);
    query.prepare("DELETE FROM tinh WHERE IDTinh = :IDTinh");
    query.bindValue(":IDTinh", id);
    if (!query.exec()) {
        qDebug() << "remove tinh failed" << query.lastError();
        result.setMessage(MSG_SQL_ERROR);
    } else {
        qDebug() << "remove tinh success";
        result.setCode(0);
    }
    return result;
}

Province MySqlConnection::getProvince(const QString &id)
{
    QMutexLocker locker(&m_mutex);
    Province province;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM tinh WHERE IDTinh = :IDTinh");
    query.bindValue(":IDTinh", id);
    query.exec();
    query.first();
    province.setIDTinh(fieldOf(query, "IDTinh").toString());
    province.setTenTinh(fieldOf(query, "TenTinh").toString());
    return province;
}

QList<Province *> *MySqlConnection::getAllProvinces()
{
    QMutexLocker locker(&m_mutex);
    auto *provinces = new QList<Province *>;
    QSqlQuery query(m_db);
    query.prepare("select * from tinh");
    query.exec();
    while (query.next()) {
        auto *province = new Province;
        province->setIDTinh(query.value("IDTinh").toString());
        province->setTenTinh(query.value("TenTinh").toString());
        provinces->append(province);
    }
    return provinces;
}

// --- units -----------------------------------------------------------------

bool MySqlConnection::createUnit(Unit *unit)
{
    // The province comes from the operator's choice; without one there is
    // nothing sound to store.
    if (!unit || !unit->getProvince()) {
        qDebug() << "insert donvi failed: no province";
        return false;
    }
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("INSERT INTO donvi (IDDonVi, TenDonVi, IDTinh)VALUES (:IDDonVi, :TenDonVi, :IDTinh)");
    query.bindValue(":IDDonVi", unit->getIDDonVi());
    query.bindValue(":TenDonVi", unit->getTenDonVi());
    query.bindValue(":IDTinh", unit->getProvince()->getIDTinh());
    if (!query.exec()) {
        qDebug() << "insert donvi failed" << query.lastError();
        return false;
    }
    qDebug() << "insert donvi success";
    return true;
}

bool MySqlConnection::insertUnit(Unit unit)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("INSERT INTO donvi (IDDonVi, IDTinh, TenDonVi)VALUES (:IDDonVi, :IDTinh, :TenDonVi)");
    query.bindValue(":IDDonVi", unit.getIDDonVi());
    query.bindValue(":IDTinh", unit.getIDTinh());
    query.bindValue(":TenDonVi", unit.getTenDonVi());
    qDebug() << "MySqlConnection::insertUnit " << query.lastError();
    return query.exec();
}

bool MySqlConnection::updateUnit(Unit *unit)
{
    if (!unit || !unit->getProvince()) {
        qDebug() << "update donvi failed: no province";
        return false;
    }
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("UPDATE donvi SET TenDonVi = :TenDonVi, IDTinh = :IDTinh WHERE IDDonVi = :IDDonVi");
    query.bindValue(":TenDonVi", unit->getTenDonVi());
    query.bindValue(":IDTinh", unit->getProvince()->getIDTinh());
    query.bindValue(":IDDonVi", unit->getIDDonVi());
    if (!query.exec()) {
        qDebug() << "update donvi failed" << query.lastError();
        return false;
    }
    qDebug() << "update donvi success";
    return true;
}

SqlResultInfo MySqlConnection::deleteUnit(const QString &id)
{
    QMutexLocker locker(&m_mutex);
    SqlResultInfo result;

    QSqlQuery guard(m_db);
    guard.prepare("select * from khoathi where IDDonVi = :IDDonVi");
    guard.bindValue(":IDDonVi", id);
    // Without an answer to the guard a course may still use the unit.
    if (!guard.exec()) {
        qDebug() << "get khoathi info failed" << guard.lastError();
        result.setMessage(MSG_SQL_ERROR);
        return result;
    }
    if (guard.next()) {
        qDebug() << "Exist khoathi using donvi: " << id;
        result.setMessage(MSG_UNIT_IN_USE);
        return result;
    }

    QSqlQuery query(m_db);
    query.prepare("DELETE FROM donvi WHERE IDDonVi = :IDDonVi");
    query.bindValue(":IDDonVi", id);
    if (!query.exec()) {
        qDebug() << "remove donvi failed" << query.lastError();
        result.setMessage(MSG_SQL_ERROR);
    } else {
        qDebug() << "remove donvi success";
        result.setCode(0);
    }
    return result;
}

Unit MySqlConnection::getUnit(const QString &id)
{
    QMutexLocker locker(&m_mutex);
    Unit unit;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM donvi WHERE IDDonVi = :IDDonVi");
    query.bindValue(":IDDonVi", id);
    query.exec();
    query.first();
    unit.setIDDonVi(fieldOf(query, "IDDonVi").toString());
    unit.setIDTinh(fieldOf(query, "IDTinh").toString());
    unit.setTenDonVi(fieldOf(query, "TenDonVi").toString());
    return unit;
}

QList<Unit *> *MySqlConnection::getAllUnits()
{
    QMutexLocker locker(&m_mutex);
    auto *units = new QList<Unit *>;
    QSqlQuery query(m_db);
    query.prepare("select * from donvi");
    query.exec();
    QSqlQuery provinceQuery(m_db);
    provinceQuery.prepare("select * from tinh where IDTinh = :IDTinh");
    while (query.next()) {
        auto *unit = new Unit;
        unit->setIDDonVi(query.value("IDDonVi").toString());
        unit->setIDTinh(query.value("IDTinh").toString());
        unit->setTenDonVi(query.value("TenDonVi").toString());
        provinceQuery.bindValue(":IDTinh", unit->getIDTinh());
        provinceQuery.exec();
        if (provinceQuery.next()) {
            auto *province = new Province;
            province->setIDTinh(provinceQuery.value("IDTinh").toString());
            province->setTenTinh(provinceQuery.value("TenTinh").toString());
            unit->setProvince(province);
        }
        units->append(unit);
    }
    return units;
}

// --- accounts --------------------------------------------------------------

Account *MySqlConnection::getAccount(const QString &userName)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("select * from taikhoan where IDTaiKhoan = :idName");
    query.bindValue(":idName", userName);
    if (!query.exec() || !query.next())
        return nullptr;
    // Only the key's name is fixed; the other columns count by position.
    return new Account(query.value(0).toString(), query.value(1).toString(), query.value(2).toInt(),
                       query.value(3).toString());
}

// --- persons and course entries --------------------------------------------

SqlResultInfo MySqlConnection::addContestantInfo(const CRUDStudentInfo &info, const QString &course)
{
    QMutexLocker locker(&m_mutex);
    SqlResultInfo result;

    {
        QSqlQuery query(m_db);
        query.prepare("SELECT * FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc and SoBaoDanh = "
                      ":SoBaoDanh limit 1");
        query.bindValue(":IDKhoaHoc", course);
        query.bindValue(":SoBaoDanh", info.getSoBaoDanh());
        if (!query.exec()) {
            qDebug() << "get khoathi_thisinh info failed" << query.lastError();
            return result;
        }
        if (query.next()) {
            qDebug() << "SoBaoDanh is exist";
            result.setMessage("SoBaoDanh is exist");
            return result;
        }
    }

    // The course's examination period is that of its first entry's person;
    // without one it stays NULL.
    QVariant period;
    {
        QSqlQuery query(m_db);
        query.prepare("SELECT IDThiSinh FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc limit 1");
        query.bindValue(":IDKhoaHoc", course);
        if (!query.exec()) {
            qDebug() << "get khoathi_thisinh info failed" << query.lastError();
            return result;
        }
        const int firstPerson = query.next() ? query.value("IDThiSinh").toInt() : 0;

        QSqlQuery personQuery(m_db);
        personQuery.prepare("SELECT Ma_Ky_SH FROM thisinh where IDThiSinh = :IDThiSinh");
        personQuery.bindValue(":IDThiSinh", firstPerson);
        if (!personQuery.exec()) {
            qDebug() << "get thisinh info failed" << personQuery.lastError();
            return result;
        }
        if (personQuery.next() && !personQuery.value("Ma_Ky_SH").isNull())
            period = personQuery.value("Ma_Ky_SH").toString();
    }

    QVariant person;
    {
        QSqlQuery query(m_db);
        query.prepare("SELECT * FROM thisinh where Ma_Ky_SH = :Ma_Ky_SH and SoCMT = :SoCMT");
        query.bindValue(":Ma_Ky_SH", period);
        query.bindValue(":SoCMT", info.getSoCMT());
        if (!query.exec()) {
            qDebug() << "get thisinh info failed" << query.lastError();
            return result;
        }
        if (query.next()) {
            person = query.value("IDThiSinh").toInt();
        } else {
            QSqlQuery insert(m_db);
            insert.prepare("INSERT INTO thisinh (HoTen, GioiTinh, NgaySinh, SoCMT, Ma_Ky_SH) VALUES "
                           "(:HoTen, :GioiTinh, :NgaySinh, :SoCMT, :Ma_Ky_SH)");
            insert.bindValue(":HoTen", info.getHoTen());
            insert.bindValue(":GioiTinh", info.getGioiTinh());
            insert.bindValue(":NgaySinh", info.getNgaySinh().toString("yyyyMMdd"));
            insert.bindValue(":SoCMT", info.getSoCMT());
            insert.bindValue(":Ma_Ky_SH", period);
            if (!insert.exec()) {
                qDebug() << "insert thisinh failed" << insert.lastError();
                return result;
            }
            person = insert.lastInsertId().toInt();
        }
    }

    QSqlQuery query(m_db);
    query.prepare("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, MaKySH, "
                  "AnhChanDung, DiemMoPhong) VALUES (:IDKhoaHoc, :IDThiSinh, :SoBaoDanh, :LoaiBang, "
                  ":MaKySH, :AnhChanDung, :DiemMoPhong)");
    query.bindValue(":IDKhoaHoc", course);
    query.bindValue(":IDThiSinh", person);
    query.bindValue(":SoBaoDanh", info.getSoBaoDanh());
    query.bindValue(":LoaiBang", info.getLoaiBang());
    query.bindValue(":MaKySH", period);
    query.bindValue(":AnhChanDung", info.getAnhChanDung());
    query.bindValue(":DiemMoPhong", -1);
    if (!query.exec()) {
        qDebug() << "insert khoathi_thisinh failed" << query.lastError();
        return result;
    }
    qDebug() << "insert thisinh success";
    result.setSuccess(true);
    result.setId(query.lastInsertId().toInt());
    return result;
}

bool MySqlConnection::isStudentInCourse(const QString &course, const QString &maDangKy,
                                        const QString &maKySH)
{
    QMutexLocker locker(&m_mutex);
    // Imports may have left several persons with the same codes: any of
    // them having an entry in the course counts.
    QSqlQuery query(m_db);
    query.prepare("SELECT khoathi_thisinh.ID FROM thisinh INNER JOIN khoathi_thisinh ON "
                  "thisinh.IDThiSinh = khoathi_thisinh.IDThiSinh WHERE thisinh.Ma_Dang_Ky = "
                  ":Ma_Dang_Ky AND thisinh.Ma_Ky_SH = :Ma_Ky_SH AND khoathi_thisinh.IDKhoaHoc = "
                  ":IDKhoaHoc limit 1");
    query.bindValue(":Ma_Dang_Ky", maDangKy);
    query.bindValue(":Ma_Ky_SH", maKySH);
    query.bindValue(":IDKhoaHoc", course);
    query.exec();
    return query.next();
}

bool MySqlConnection::updateContestantInfo(int id, const CRUDStudentInfo &info)
{
    QMutexLocker locker(&m_mutex);
    int person = 0;
    {
        QSqlQuery query(m_db);
        query.prepare("SELECT * FROM khoathi_thisinh where ID = :ID");
        query.bindValue(":ID", id);
        if (!query.exec()) {
            qDebug() << "get khoathi_thisinh info failed" << query.lastError();
            return false;
        }
        if (query.next())
            person = query.value("IDThiSinh").toInt();
    }

    {
        QSqlQuery query(m_db);
        query.prepare("update khoathi_thisinh set SoBaoDanh = :SoBaoDanh, LoaiBang = :LoaiBang, "
                      "AnhChanDung = :AnhChanDung, NoiDungSH = :NoiDungSH, CheckSumKQMP = "
                      ":CheckSumKQMP where ID = :ID");
        query.bindValue(":SoBaoDanh", info.getSoBaoDanh());
        query.bindValue(":LoaiBang", info.getLoaiBang());
        query.bindValue(":AnhChanDung", info.getAnhChanDung());
        query.bindValue(":NoiDungSH", info.getNoiDungSH());
        // An edited candidate's stored result must no longer verify.
        query.bindValue(":CheckSumKQMP", QVariant());
        query.bindValue(":ID", id);
        if (!query.exec()) {
            qDebug() << "update khoathi_thisinh info failed" << query.lastError();
            return false;
        }
    }

    QSqlQuery query(m_db);
    query.prepare("update thisinh set HoTen = :HoTen, GioiTinh = :GioiTinh, NgaySinh = :NgaySinh, "
                  "SoCMT = :SoCMT where IDThiSinh = :IDThiSinh");
    query.bindValue(":HoTen", info.getHoTen());
    query.bindValue(":GioiTinh", info.getGioiTinh());
    query.bindValue(":NgaySinh", info.getNgaySinh().toString("yyyy-MM-dd"));
    query.bindValue(":SoCMT", info.getSoCMT());
    query.bindValue(":IDThiSinh", person);
    if (!query.exec()) {
        qDebug() << "update thisinh info failed" << query.lastError();
        return false;
    }
    return true;
}

bool MySqlConnection::removeContestantInfo(int id, const QString &course)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("DELETE FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc and ID = :ID");
    query.bindValue(":IDKhoaHoc", course);
    query.bindValue(":ID", id);
    if (!query.exec()) {
        qDebug() << "remove info: " << query.lastError();
        return false;
    }
    qDebug() << "remove info success";
    return true;
}

bool MySqlConnection::resetContestantResult(int id, const QString &course, const QString &reason)
{
    QMutexLocker locker(&m_mutex);
    QString note;
    {
        QSqlQuery query(m_db);
        query.prepare("SELECT GhiChu FROM khoathi_thisinh WHERE IDKhoaHoc = :IDKhoaHoc and ID = :ID");
        query.bindValue(":IDKhoaHoc", course);
        query.bindValue(":ID", id);
        query.exec();
        if (query.next())
            note = query.value("GhiChu").toString();
    }

    const QString item = QDateTime::currentDateTime().toString("dd/MM/yyyy hh:mm:ss") + "#" + reason;
    QString newNote = note.isEmpty() ? item : note + ";" + item;
    // The history keeps to 255 characters by starting over; a single item
    // longer than that is still kept whole.
    if (newNote.size() > 255)
        newNote = item;

    QSqlQuery query(m_db);
    query.prepare("UPDATE khoathi_thisinh SET DiemMoPhong = :DiemMoPhong, DiemChuanMoPhong = "
                  ":DiemChuanMoPhong, KetQuaMoPhong = :KetQuaMoPhong, ThoiGianBatDauThi = "
                  ":ThoiGianBatDauThi, ThoiGianKetThucThi = :ThoiGianKetThucThi, TrangThai = :TrangThai, "
                  "CheckSumKQMP = :CheckSumKQMP, TraLoiMoPhong = :TraLoiMoPhong, GhiChu = :GhiChu where "
                  "IDKhoaHoc = :IDKhoaHoc and ID = :ID");
    query.bindValue(":DiemMoPhong", -1);
    query.bindValue(":DiemChuanMoPhong", 35);
    query.bindValue(":KetQuaMoPhong", QVariant());
    query.bindValue(":ThoiGianBatDauThi", QVariant());
    query.bindValue(":ThoiGianKetThucThi", QVariant());
    query.bindValue(":TrangThai", 0);
    query.bindValue(":CheckSumKQMP", QVariant());
    query.bindValue(":TraLoiMoPhong", QVariant());
    query.bindValue(":GhiChu", newNote);
    query.bindValue(":IDKhoaHoc", course);
    query.bindValue(":ID", id);
    if (!query.exec()) {
        qDebug() << "reset result: " << query.lastError();
        return false;
    }
    qDebug() << "reset result success: ";
    return true;
}

bool MySqlConnection::updateKetQuaSHLyThuyet(int id, const QString &ketQuaSHLyThuyet)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("UPDATE khoathi_thisinh SET KetQuaSHLyThuyet = :KetQuaSHLyThuyet where ID = :ID");
    query.bindValue(":KetQuaSHLyThuyet", ketQuaSHLyThuyet);
    query.bindValue(":ID", id);
    return query.exec();
}

bool MySqlConnection::insertNguoiLX(Student student)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("INSERT INTO thisinh (SoTT, Ma_Dang_Ky, HoTen, GioiTinh, NgaySinh, SoCMT, Ma_Ky_SH, "
                  "DiaChi) VALUES (:SoTT, :Ma_Dang_Ky, :HoTen, :GioiTinh, :NgaySinh, :SoCMT, :Ma_Ky_SH, "
                  ":DiaChi)");
    query.bindValue(":SoTT", student.getSoTT());
    query.bindValue(":Ma_Dang_Ky", student.getMa_Dang_Ky());
    query.bindValue(":HoTen", student.getHoTen());
    query.bindValue(":GioiTinh", student.getGioiTinh());
    query.bindValue(":NgaySinh", student.getNgaySinh().toString("yyyyMMdd"));
    query.bindValue(":SoCMT", student.getSoCMT());
    query.bindValue(":Ma_Ky_SH", student.getMa_Ky_SH());
    query.bindValue(":DiaChi", student.getDiaChi());
    qDebug() << "MySqlConnection::insertNguoiLX " << query.lastError();
    return query.exec();
}

bool MySqlConnection::insertKhoaThiThiSinh(KhoaThiThiSinh khoaThiThiSinh)
{
    const KhoaThiThiSinh &k = khoaThiThiSinh;
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare(
        "INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, TraLoiDung, TraLoiSai, "
        "KhongTraLoi, KetQua, SoChungChiTotNghiep, Thi, LoaiBang, TraLoi, UpdateTime, DiemChuan, GhiChu, "
        "DiemMoPhong, DiemChuanMoPhong, KetQuaMoPhong, ThoiGianBatDauThi, ThoiGianKetThucThi, TrangThai, "
        "CheckSumKQMP, SoHoSo, MaKySH, NoiDungSH, KetQuaSH, KetQuaSHLyThuyet, AnhChanDung) VALUES "
        "(:IDKhoaHoc, :IDThiSinh, :SoBaoDanh, :TraLoiDung, :TraLoiSai, :KhongTraLoi, :KetQua, "
        ":SoChungChiTotNghiep, :Thi, :LoaiBang, :TraLoi, :UpdateTime, :DiemChuan, :GhiChu, :DiemMoPhong, "
        ":DiemChuanMoPhong, :KetQuaMoPhong, :ThoiGianBatDauThi, :ThoiGianKetThucThi, :TrangThai, "
        ":CheckSumKQMP, :SoHoSo, :MaKySH, :NoiDungSH, :KetQuaSH, :KetQuaSHLyThuyet, :AnhChanDung);");
    query.bindValue(":IDKhoaHoc", k.getIDKhoaHoc());
    query.bindValue(":IDThiSinh", k.getIDThiSinh());
    query.bindValue(":SoBaoDanh", k.getSoBaoDanh());
    query.bindValue(":TraLoiDung", k.getTraLoiDung());
    query.bindValue(":TraLoiSai", k.getTraLoiSai());
    query.bindValue(":KhongTraLoi", k.getKhongTraLoi());
    query.bindValue(":KetQua", k.getKetQua());
    query.bindValue(":SoChungChiTotNghiep", k.getSoChungChiTotNghiep());
    query.bindValue(":Thi", k.getThi());
    query.bindValue(":LoaiBang", k.getLoaiBang());
    query.bindValue(":TraLoi", k.getTraLoi());
    query.bindValue(":UpdateTime", dateTimeValue(k.getUpdateTime()));
    query.bindValue(":DiemChuan", k.getDiemChuan());
    query.bindValue(":GhiChu", k.getGhiChu());
    query.bindValue(":DiemMoPhong", k.getDiemMoPhong());
    query.bindValue(":DiemChuanMoPhong", k.getDiemChuanMoPhong());
    query.bindValue(":KetQuaMoPhong", k.getKetQuaMoPhong());
    query.bindValue(":ThoiGianBatDauThi", dateTimeValue(k.getThoiGianBatDauThi()));
    query.bindValue(":ThoiGianKetThucThi", dateTimeValue(k.getThoiGianKetThucThi()));
    query.bindValue(":TrangThai", k.getTrangThai());
    query.bindValue(":CheckSumKQMP", k.getCheckSumKQMP());
    query.bindValue(":SoHoSo", k.getSoHoSo());
    query.bindValue(":MaKySH", k.getMaKySH());
    query.bindValue(":NoiDungSH", k.getNoiDungSH());
    query.bindValue(":KetQuaSH", k.getKetQuaSH());
    query.bindValue(":KetQuaSHLyThuyet", k.getKetQuaSHLyThuyet());
    query.bindValue(":AnhChanDung", k.getAnhChanDung());
    const bool ok = query.exec();
    qDebug() << "MySqlConnection::insertKhoaThiThiSinh: khoaThiThiSinh.getIDKhoaHoc() = "
             << k.getIDKhoaHoc() << " khoaThiThiSinh.getIDThiSinh() = " << k.getIDThiSinh()
             << query.lastError();
    return ok;
}

Student MySqlConnection::getStudent(int idThiSinh)
{
    QMutexLocker locker(&m_mutex);
    Student student;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM thisinh WHERE IDThiSinh = :IDThiSinh");
    query.bindValue(":IDThiSinh", idThiSinh);
    query.exec();
    query.first();
    student.setIDThiSinh(fieldOf(query, "IDThiSinh").toInt());
    student.setSoTT(fieldOf(query, "SoTT").toInt());
    student.setMa_Dang_Ky(fieldOf(query, "Ma_Dang_Ky").toString());
    student.setMa_Ky_SH(fieldOf(query, "Ma_Ky_SH").toString());
    student.setHoTen(fieldOf(query, "HoTen").toString());
    student.setGioiTinh(fieldOf(query, "GioiTinh").toString());
    student.setSoCMT(fieldOf(query, "SoCMT").toString());
    student.setNgaySinh(fieldOf(query, "NgaySinh").toDate());
    student.setQuocTich(fieldOf(query, "QuocTich").toString());
    return student;
}

namespace {

Student foundStudent(QSqlQuery &query)
{
    Student student;
    query.exec();
    if (!query.first())
        return student;
    student.setIDThiSinh(query.value("IDThiSinh").toInt());
    student.setSoTT(query.value("SoTT").toInt());
    student.setMa_Dang_Ky(query.value("Ma_Dang_Ky").toString());
    student.setMa_Ky_SH(query.value("Ma_Ky_SH").toString());
    student.setHoTen(query.value("HoTen").toString());
    student.setGioiTinh(query.value("GioiTinh").toString());
    student.setSoCMT(query.value("SoCMT").toString());
    student.setNgaySinh(query.value("NgaySinh").toDate());
    return student;
}

} // namespace

Student MySqlConnection::findStudent(const QString &soCMT, const QString &hoTen)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM thisinh WHERE SoCMT = :SoCMT AND HoTen = :HoTen");
    query.bindValue(":SoCMT", soCMT);
    query.bindValue(":HoTen", hoTen);
    return foundStudent(query);
}

Student MySqlConnection::findStudent(const QString &soCMT, const QString &hoTen, const QString &maKySH)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM thisinh WHERE SoCMT = :SoCMT AND HoTen = :HoTen AND Ma_Ky_SH = :Ma_Ky_SH");
    query.bindValue(":SoCMT", soCMT);
    query.bindValue(":HoTen", hoTen);
    query.bindValue(":Ma_Ky_SH", maKySH);
    return foundStudent(query);
}

QList<KhoaThiThiSinh *> MySqlConnection::getKhoaThiThiSinhList(const QString &course)
{
    QMutexLocker locker(&m_mutex);
    QList<KhoaThiThiSinh *> entries;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM khoathi_thisinh WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bindValue(":IDKhoaHoc", course);
    query.exec();
    while (query.next()) {
        auto *k = new KhoaThiThiSinh;
        k->setID(query.value("ID").toInt());
        k->setIDKhoaHoc(query.value("IDKhoaHoc").toString());
        k->setIDThiSinh(query.value("IDThiSinh").toInt());
        k->setSoBaoDanh(query.value("SoBaoDanh").toString());
        k->setTraLoiDung(query.value("TraLoiDung").toInt());
        k->setTraLoiSai(query.value("TraLoiSai").toInt());
        k->setKhongTraLoi(query.value("KhongTraLoi").toInt());
        k->setKetQua(query.value("KetQua").toString());
        k->setSoChungChiTotNghiep(query.value("SoChungChiTotNghiep").toString());
        k->setThi(query.value("Thi").toInt());
        k->setLoaiBang(query.value("LoaiBang").toString());
        k->setTraLoi(query.value("TraLoi").toString());
        k->setUpdateTime(query.value("UpdateTime").toDateTime());
        k->setDiemChuan(query.value("DiemChuan").toInt());
        k->setGhiChu(query.value("GhiChu").toString());
        k->setDiemMoPhong(query.value("DiemMoPhong").toInt());
        k->setDiemChuanMoPhong(query.value("DiemChuanMoPhong").toInt());
        k->setKetQuaMoPhong(query.value("KetQuaMoPhong").toString());
        k->setThoiGianBatDauThi(query.value("ThoiGianBatDauThi").toDateTime());
        k->setThoiGianKetThucThi(query.value("ThoiGianKetThucThi").toDateTime());
        k->setTrangThai(query.value("TrangThai").toInt());
        k->setCheckSumKQMP(query.value("CheckSumKQMP").toString());
        k->setSoHoSo(query.value("SoHoSo").toString());
        k->setMaKySH(query.value("MaKySH").toString());
        k->setNoiDungSH(query.value("NoiDungSH").toString());
        k->setKetQuaSH(query.value("KetQuaSH").toString());
        k->setKetQuaSHLyThuyet(query.value("KetQuaSHLyThuyet").toString());
        k->setAnhChanDung(query.value("AnhChanDung").toString());
        entries.append(k);
    }
    return entries;
}

QList<KhoaThiThiSinh *> MySqlConnection::getTheoryFailedStudents(const QString &course)
{
    QMutexLocker locker(&m_mutex);
    QList<KhoaThiThiSinh *> entries;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM khoathi_thisinh WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bindValue(":IDKhoaHoc", course);
    query.exec();
    while (query.next()) {
        const QString theory = query.value("KetQuaSHLyThuyet").toString();
        if (!theory.isEmpty() && theory.compare(RESULT_FAIL, Qt::CaseInsensitive) != 0)
            continue;
        auto *k = new KhoaThiThiSinh;
        k->setID(query.value("ID").toInt());
        k->setSoBaoDanh(query.value("SoBaoDanh").toString());
        k->setKetQuaSHLyThuyet(theory);
        entries.append(k);
    }
    return entries;
}

// --- candidate table and result sheet --------------------------------------

StudentInfoList *MySqlConnection::getStudentInfosOfCourse(const QString &course)
{
    QMutexLocker locker(&m_mutex);
    auto *list = new StudentInfoList;
    QSqlQuery query(m_db);
    query.prepare("SELECT thisinh.HoTen, thisinh.SoCMT, thisinh.NgaySinh, thisinh.GioiTinh, "
                  "thisinh.DiaChi, khoathi_thisinh.* FROM thisinh INNER JOIN khoathi_thisinh ON "
                  "thisinh.IDThiSinh = khoathi_thisinh.IDThiSinh WHERE khoathi_thisinh.IDKhoaHoc = "
                  ":idKhoaHoc ORDER BY SoBaoDanh * 1");
    query.bindValue(":idKhoaHoc", course);
    query.exec();
    while (query.next()) {
        auto *row = new StudentInfo;
        row->setID(query.value("ID").toInt());
        row->setHoTen(query.value("HoTen").toString());
        row->setSoCMT(query.value("SoCMT").toString());
        row->setSoBaoDanh(query.value("SoBaoDanh").toString());
        row->setLoaiBang(query.value("LoaiBang").toString());
        row->setDiemMoPhong(query.value("DiemMoPhong").toInt());
        row->setDiemChuanMoPhong(query.value("DiemChuanMoPhong").toInt());
        row->setThoiGianBatDauThi(tableTimeText(query.value("ThoiGianBatDauThi")));
        row->setThoiGianKetThucThi(tableTimeText(query.value("ThoiGianKetThucThi")));
        row->setKetQuaMoPhong(query.value("KetQuaMoPhong").toString());
        row->setNgaySinh(query.value("NgaySinh").toDate());
        row->setGioiTinh(query.value("GioiTinh").toString());
        row->setKetQuaSHLyThuyet(query.value("KetQuaSHLyThuyet").toString());
        row->setDiaChi(query.value("DiaChi").toString());
        row->setGhiChu(query.value("GhiChu").toString());
        row->setTrangThai(query.value("TrangThai").toInt());
        row->setNoiDungSH(query.value("NoiDungSH").toString());
        list->append(row);
    }
    return list;
}

StudentInfoList *MySqlConnection::getSoBaoDanhByState(const QString &course)
{
    QMutexLocker locker(&m_mutex);
    auto *list = new StudentInfoList;
    QSqlQuery query(m_db);
    query.prepare("SELECT SoBaoDanh FROM khoathi_thisinh WHERE khoathi_thisinh.IDKhoaHoc = :idKhoaHoc "
                  "AND khoathi_thisinh.TrangThai = :TrangThai ORDER BY SoBaoDanh * 1");
    query.bindValue(":idKhoaHoc", course);
    query.bindValue(":TrangThai", 1);
    query.exec();
    while (query.next()) {
        auto *row = new StudentInfo;
        row->setSoBaoDanh(query.value("SoBaoDanh").toString());
        list->append(row);
    }
    return list;
}

QString MySqlConnection::getAvatarInfoForContestant(const QString &soBaoDanh, const QString &course)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc and SoBaoDanh = "
                  ":SoBaoDanh limit 1");
    query.bindValue(":IDKhoaHoc", course);
    query.bindValue(":SoBaoDanh", soBaoDanh);
    if (!query.exec()) {
        qDebug() << "get khoathi_thisinh info failed" << query.lastError();
        return QString();
    }
    if (!query.next()) {
        qDebug() << "student isn't exist";
        return QString();
    }
    return query.value("AnhChanDung").toString();
}

ReportInfo MySqlConnection::getPrintDetail(const QString &course, const QString &soBaoDanh)
{
    QMutexLocker locker(&m_mutex);
    QSqlQuery entry(m_db);
    entry.prepare("select * from khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc and SoBaoDanh = :SoBaoDanh");
    entry.bindValue(":IDKhoaHoc", course);
    entry.bindValue(":SoBaoDanh", soBaoDanh);
    entry.exec();
    entry.first();
    return readPrintDetail(entry, course, soBaoDanh);
}
