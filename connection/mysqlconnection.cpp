#include "connection/mysqlconnection.h"

#include "common/constants.h"
#include "connection/courserow.h"
#include "connection/entryrow.h"
#include "connection/personrow.h"
#include "connection/sqlquery.h"
#include "records/account.h"
#include "records/crudstudentinfo.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"

#include <QDateTime>
#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <functional>
#include <initializer_list>

namespace {

// One statement of a guarded deletion and its line in the log once done.
struct DeleteStep
{
    const char *name;
    const char *statement;
    const char *doneLog;
};

// Deletes a record only while `guard` (prepared and bound by the caller, who
// holds the connection's lock) finds nothing that still needs it: then runs
// `steps` in order, each with `id` bound to `placeholder`. A guard without an
// answer deletes nothing, and a step that fails stops there.
SqlResultInfo guardedDelete(const QSqlDatabase &db, SqlQuery &guard, const std::function<void()> &logInUse,
                            const QString &inUseMessage, const QString &placeholder, const QString &id,
                            std::initializer_list<DeleteStep> steps)
{
    SqlResultInfo result;
    if (!guard.exec()) {
        result.setMessage(MSG_SQL_ERROR);
        return result;
    }
    if (guard.next()) {
        logInUse();
        result.setMessage(inUseMessage);
        return result;
    }
    for (const DeleteStep &step : steps) {
        SqlQuery query(db, step.name, step.statement);
        query.bind(placeholder, id);
        if (!query.exec()) {
            result.setMessage(MSG_SQL_ERROR);
            return result;
        }
        qDebug() << step.doneLog;
    }
    result.setCode(0);
    return result;
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

bool MySqlConnection::createCourse(Course *course, bool *duplicateCode)
{
    if (duplicateCode)
        *duplicateCode = false;
    if (!course)
        return false;
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::createCourse",
                   "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, NgayThi, NamHoc, TrangThai, IDDonVi, "
                   "TrungTam, HoiDong, GhiChu)VALUES (:IDKhoaHoc, :TenKhoaHoc, :NgayThi, :NamHoc, "
                   ":TrangThai, :IDDonVi, :TrungTam, :HoiDong, :GhiChu)");
    query.bind(":IDKhoaHoc", course->getIDKhoaHoc());
    query.bind(":TenKhoaHoc", course->getTenKhoaHoc());
    query.bind(":NgayThi", course->getNgayThi().toString("yyyy-MM-dd"));
    query.bind(":NamHoc", course->getNamHoc());
    query.bind(":TrangThai", course->getTrangThai());
    query.bind(":IDDonVi", course->getIDDonVi());
    query.bind(":TrungTam", course->getTrungTam());
    query.bind(":HoiDong", course->getHoiDong());
    query.bind(":GhiChu", course->getGhiChu());
    if (!query.exec()) {
        // ER_DUP_ENTRY: the only unique key of the table is the code.
        if (duplicateCode)
            *duplicateCode = query.lastError().nativeErrorCode() == QLatin1String("1062");
        return false;
    }
    qDebug() << "insert course success";
    return true;
}

bool MySqlConnection::updateCourse(Course *course)
{
    if (!course)
        return false;
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::updateCourse",
                   "UPDATE khoathi SET TenKhoaHoc = :TenKhoaHoc, IDDonVi = :IDDonVi, NgayThi = :NgayThi, "
                   "HoiDong = :HoiDong, TrungTam = :TrungTam, NamHoc = :NamHoc, TrangThai = :TrangThai, "
                   "GhiChu = :GhiChu WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bind(":TenKhoaHoc", course->getTenKhoaHoc());
    query.bind(":IDDonVi", course->getIDDonVi());
    query.bind(":NgayThi", course->getNgayThi().toString("yyyy-MM-dd"));
    query.bind(":HoiDong", course->getHoiDong());
    query.bind(":TrungTam", course->getTrungTam());
    query.bind(":NamHoc", course->getNamHoc());
    query.bind(":TrangThai", course->getTrangThai());
    query.bind(":GhiChu", course->getGhiChu());
    query.bind(":IDKhoaHoc", course->getIDKhoaHoc());
    if (!query.exec())
        return false;
    qDebug() << "update khoathi success";
    return true;
}

SqlResultInfo MySqlConnection::deleteCourse(const QString &id)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    // Without an answer to the guard the course may be under examination:
    // delete nothing.
    SqlQuery guard(m_db, "MySqlConnection::deleteCourse (guard)",
                   "select * from khoathi where IDKhoaHoc = :IDKhoaHoc and TrangThai = :TrangThai");
    guard.bind(":IDKhoaHoc", id);
    guard.bind(":TrangThai", 2);
    return guardedDelete(
        m_db, guard, [] { qDebug() << "khoathi is starting"; }, MSG_COURSE_IN_EXAM, ":IDKhoaHoc", id,
        {{"MySqlConnection::deleteCourse (entries)", "DELETE FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc",
          "remove khoathi_thisinh success"},
         {"MySqlConnection::deleteCourse (course)", "DELETE FROM khoathi WHERE IDKhoaHoc = :IDKhoaHoc",
          "remove khoathi success"}});
}

bool MySqlConnection::insertKhoaThi(Course course)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::insertKhoaThi",
                   "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, HoiDong, TrungTam, "
                   "NgayImport, GhiChu, TrangThai)VALUES (:IDKhoaHoc, :TenKhoaHoc, :IDDonVi, :NgayThi, "
                   ":HoiDong, :TrungTam, :NgayImport, :GhiChu, :TrangThai)");
    query.bind(":IDKhoaHoc", course.getIDKhoaHoc());
    query.bind(":TenKhoaHoc", course.getTenKhoaHoc());
    query.bind(":IDDonVi", course.getIDDonVi());
    query.bind(":NgayThi", course.getNgayThi().toString("yyyyMMdd"));
    query.bind(":HoiDong", course.getHoiDong());
    query.bind(":TrungTam", course.getTrungTam());
    query.bind(":NgayImport", course.getNgayImport().toString("yyyyMMdd"));
    query.bind(":GhiChu", course.getGhiChu());
    query.bind(":TrangThai", 1);
    return query.exec();
}

bool MySqlConnection::isCourseExist(const QString &id)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::isCourseExist",
                   "SELECT IDKhoaHoc FROM khoathi WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bind(":IDKhoaHoc", id);
    query.exec();
    return query.size() > 0;
}

QList<Course *> *MySqlConnection::getAllCourses()
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    auto *courses = new QList<Course *>;
    SqlQuery query(m_db, "MySqlConnection::getAllCourses",
                   "SELECT * FROM khoathi ORDER BY NgayThi DESC");
    query.exec();
    while (query.next())
        courses->append(new Course(courseFromRow(query)));
    return courses;
}

QList<Course *> MySqlConnection::getRecentCourses()
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    QList<Course *> courses;
    // Against the start of today, so a course dated exactly six months ago
    // is still listed.
    SqlQuery query(m_db, "MySqlConnection::getRecentCourses",
                   "select * from khoathi where NgayThi >= date_sub(curdate(), interval 6 month) "
                   "order by NgayThi desc;");
    query.exec();
    while (query.next())
        courses.append(new Course(courseFromRow(query)));
    return courses;
}

Course MySqlConnection::getCourse(const QString &id)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::getCourse",
                   "SELECT * FROM khoathi WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bind(":IDKhoaHoc", id);
    query.exec();
    return query.first() ? courseFromRow(query) : Course();
}

QList<Course> MySqlConnection::getStartableCourses()
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    QList<Course> courses;
    SqlQuery query(m_db, "MySqlConnection::getStartableCourses",
                   "select IDKhoaHoc, TenKhoaHoc from khoathi where TrangThai = :Start or TrangThai = :Prepare or "
                   "TrangThai IS NULL");
    query.bind(":Start", 2);
    query.bind(":Prepare", 1);
    query.exec();
    while (query.next())
        courses.append(courseFromRow(query));
    return courses;
}

CourseReportSummary MySqlConnection::getCourseReportSummary(const QString &id)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    CourseReportSummary summary;

    {
        SqlQuery query(m_db, "MySqlConnection::getCourseReportSummary (query)",
                       "select count(ID) as nb, TrangThai from khoathi_thisinh where IDKhoaHoc = "
                       ":IDKhoaHoc group by TrangThai");
        query.bind(":IDKhoaHoc", id);
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
        SqlQuery query(m_db, "MySqlConnection::getCourseReportSummary (query)",
                       "select count(ID) as nb, KetQuaMoPhong from khoathi_thisinh where IDKhoaHoc = "
                       ":IDKhoaHoc group by KetQuaMoPhong");
        query.bind(":IDKhoaHoc", id);
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
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::createProvince",
                   "INSERT INTO tinh (IDTinh, TenTinh)VALUES (:IDTinh, :TenTinh)");
    query.bind(":IDTinh", province.getIDTinh());
    query.bind(":TenTinh", province.getTenTinh());
    if (!query.exec())
        return false;
    qDebug() << "insert tinh success";
    return true;
}

bool MySqlConnection::insertProvince(Province province)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::insertProvince",
                   "INSERT INTO tinh (IDTinh, TenTinh)VALUES (:IDTinh, :TenTinh)");
    query.bind(":IDTinh", province.getIDTinh());
    query.bind(":TenTinh", province.getTenTinh());
    return query.exec();
}

bool MySqlConnection::updateProvince(Province province)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::updateProvince",
                   "UPDATE tinh SET TenTinh = :TenTinh WHERE IDTinh = :IDTinh");
    query.bind(":TenTinh", province.getTenTinh());
    query.bind(":IDTinh", province.getIDTinh());
    if (!query.exec())
        return false;
    qDebug() << "update tinh success";
    return true;
}

SqlResultInfo MySqlConnection::deleteProvince(const QString &id)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    // Without an answer to the guard a unit may still use the province.
    SqlQuery guard(m_db, "MySqlConnection::deleteProvince (guard)",
                   "select * from donvi where IDTinh = :IDTinh");
    guard.bind(":IDTinh", id);
    return guardedDelete(
        m_db, guard, [&id] { qDebug() << "Exist donvi using tinh: " << id; }, MSG_PROVINCE_IN_USE,
        ":IDTinh", id,
        {{"MySqlConnection::deleteProvince (query)", "DELETE FROM tinh WHERE IDTinh = :IDTinh",
          "remove tinh success"}});
}

Province MySqlConnection::getProvince(const QString &id)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    Province province;
    SqlQuery query(m_db, "MySqlConnection::getProvince",
                   "SELECT * FROM tinh WHERE IDTinh = :IDTinh");
    query.bind(":IDTinh", id);
    query.exec();
    query.first();
    province.setIDTinh(fieldOf(query, "IDTinh").toString());
    province.setTenTinh(fieldOf(query, "TenTinh").toString());
    return province;
}

QList<Province *> *MySqlConnection::getAllProvinces()
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    auto *provinces = new QList<Province *>;
    SqlQuery query(m_db, "MySqlConnection::getAllProvinces",
                   "select * from tinh");
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
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::createUnit",
                   "INSERT INTO donvi (IDDonVi, TenDonVi, IDTinh)VALUES (:IDDonVi, :TenDonVi, :IDTinh)");
    query.bind(":IDDonVi", unit->getIDDonVi());
    query.bind(":TenDonVi", unit->getTenDonVi());
    query.bind(":IDTinh", unit->getProvince()->getIDTinh());
    if (!query.exec())
        return false;
    qDebug() << "insert donvi success";
    return true;
}

bool MySqlConnection::insertUnit(Unit unit)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::insertUnit",
                   "INSERT INTO donvi (IDDonVi, IDTinh, TenDonVi)VALUES (:IDDonVi, :IDTinh, :TenDonVi)");
    query.bind(":IDDonVi", unit.getIDDonVi());
    query.bind(":IDTinh", unit.getIDTinh());
    query.bind(":TenDonVi", unit.getTenDonVi());
    return query.exec();
}

bool MySqlConnection::updateUnit(Unit *unit)
{
    if (!unit || !unit->getProvince()) {
        qDebug() << "update donvi failed: no province";
        return false;
    }
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::updateUnit",
                   "UPDATE donvi SET TenDonVi = :TenDonVi, IDTinh = :IDTinh WHERE IDDonVi = :IDDonVi");
    query.bind(":TenDonVi", unit->getTenDonVi());
    query.bind(":IDTinh", unit->getProvince()->getIDTinh());
    query.bind(":IDDonVi", unit->getIDDonVi());
    if (!query.exec())
        return false;
    qDebug() << "update donvi success";
    return true;
}

SqlResultInfo MySqlConnection::deleteUnit(const QString &id)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    // Without an answer to the guard a course may still use the unit.
    SqlQuery guard(m_db, "MySqlConnection::deleteUnit (guard)",
                   "select * from khoathi where IDDonVi = :IDDonVi");
    guard.bind(":IDDonVi", id);
    return guardedDelete(
        m_db, guard, [&id] { qDebug() << "Exist khoathi using donvi: " << id; }, MSG_UNIT_IN_USE,
        ":IDDonVi", id,
        {{"MySqlConnection::deleteUnit (query)", "DELETE FROM donvi WHERE IDDonVi = :IDDonVi",
          "remove donvi success"}});
}

Unit MySqlConnection::getUnit(const QString &id)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    Unit unit;
    SqlQuery query(m_db, "MySqlConnection::getUnit",
                   "SELECT * FROM donvi WHERE IDDonVi = :IDDonVi");
    query.bind(":IDDonVi", id);
    query.exec();
    query.first();
    unit.setIDDonVi(fieldOf(query, "IDDonVi").toString());
    unit.setIDTinh(fieldOf(query, "IDTinh").toString());
    unit.setTenDonVi(fieldOf(query, "TenDonVi").toString());
    return unit;
}

QList<Unit *> *MySqlConnection::getAllUnits()
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    auto *units = new QList<Unit *>;
    SqlQuery query(m_db, "MySqlConnection::getAllUnits (query)",
                   "select * from donvi");
    query.exec();
    SqlQuery provinceQuery(m_db, "MySqlConnection::getAllUnits (provinceQuery)",
                           "select * from tinh where IDTinh = :IDTinh");
    while (query.next()) {
        auto *unit = new Unit;
        unit->setIDDonVi(query.value("IDDonVi").toString());
        unit->setIDTinh(query.value("IDTinh").toString());
        unit->setTenDonVi(query.value("TenDonVi").toString());
        provinceQuery.bind(":IDTinh", unit->getIDTinh());
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
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::getAccount",
                   "select * from taikhoan where IDTaiKhoan = :idName");
    query.bind(":idName", userName);
    if (!query.exec() || !query.next())
        return nullptr;
    // Only the key's name is fixed; the other columns count by position.
    return new Account(query.value(0).toString(), query.value(1).toString(), query.value(2).toInt(),
                       query.value(3).toString());
}

// --- persons and course entries --------------------------------------------

SqlResultInfo MySqlConnection::addContestantInfo(const CRUDStudentInfo &info, const QString &course)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlResultInfo result;

    {
        SqlQuery query(m_db, "MySqlConnection::addContestantInfo (query)",
                       "SELECT * FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc and SoBaoDanh = "
                       ":SoBaoDanh limit 1");
        query.bind(":IDKhoaHoc", course);
        query.bind(":SoBaoDanh", info.getSoBaoDanh());
        if (!query.exec())
            return result;
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
        SqlQuery query(m_db, "MySqlConnection::addContestantInfo (query)",
                       "SELECT IDThiSinh FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc limit 1");
        query.bind(":IDKhoaHoc", course);
        if (!query.exec())
            return result;
        const int firstPerson = query.next() ? query.value("IDThiSinh").toInt() : 0;

        SqlQuery personQuery(m_db, "MySqlConnection::addContestantInfo (personQuery)",
                             "SELECT Ma_Ky_SH FROM thisinh where IDThiSinh = :IDThiSinh");
        personQuery.bind(":IDThiSinh", firstPerson);
        if (!personQuery.exec())
            return result;
        if (personQuery.next() && !personQuery.value("Ma_Ky_SH").isNull())
            period = personQuery.value("Ma_Ky_SH").toString();
    }

    QVariant person;
    {
        SqlQuery query(m_db, "MySqlConnection::addContestantInfo (query)",
                       "SELECT * FROM thisinh where Ma_Ky_SH = :Ma_Ky_SH and SoCMT = :SoCMT");
        query.bind(":Ma_Ky_SH", period);
        query.bind(":SoCMT", info.getSoCMT());
        if (!query.exec())
            return result;
        if (query.next()) {
            person = query.value("IDThiSinh").toInt();
        } else {
            SqlQuery insert(m_db, "MySqlConnection::addContestantInfo (insert)",
                            "INSERT INTO thisinh (HoTen, GioiTinh, NgaySinh, SoCMT, Ma_Ky_SH) VALUES "
                            "(:HoTen, :GioiTinh, :NgaySinh, :SoCMT, :Ma_Ky_SH)");
            insert.bind(":HoTen", info.getHoTen());
            insert.bind(":GioiTinh", info.getGioiTinh());
            insert.bind(":NgaySinh", info.getNgaySinh().toString("yyyyMMdd"));
            insert.bind(":SoCMT", info.getSoCMT());
            insert.bind(":Ma_Ky_SH", period);
            if (!insert.exec())
                return result;
            person = insert.lastInsertId().toInt();
        }
    }

    SqlQuery query(m_db, "MySqlConnection::addContestantInfo (query)",
                   "INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, MaKySH, "
                   "AnhChanDung, DiemMoPhong) VALUES (:IDKhoaHoc, :IDThiSinh, :SoBaoDanh, :LoaiBang, "
                   ":MaKySH, :AnhChanDung, :DiemMoPhong)");
    query.bind(":IDKhoaHoc", course);
    query.bind(":IDThiSinh", person);
    query.bind(":SoBaoDanh", info.getSoBaoDanh());
    query.bind(":LoaiBang", info.getLoaiBang());
    query.bind(":MaKySH", period);
    query.bind(":AnhChanDung", info.getAnhChanDung());
    query.bind(":DiemMoPhong", -1);
    if (!query.exec())
        return result;
    qDebug() << "insert thisinh success";
    result.setSuccess(true);
    result.setId(query.lastInsertId().toInt());
    return result;
}

bool MySqlConnection::isStudentInCourse(const QString &course, const QString &maDangKy,
                                        const QString &maKySH)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    // Imports may have left several persons with the same codes: any of
    // them having an entry in the course counts.
    SqlQuery query(m_db, "MySqlConnection::isStudentInCourse",
                   "SELECT khoathi_thisinh.ID FROM thisinh INNER JOIN khoathi_thisinh ON "
                   "thisinh.IDThiSinh = khoathi_thisinh.IDThiSinh WHERE thisinh.Ma_Dang_Ky = "
                   ":Ma_Dang_Ky AND thisinh.Ma_Ky_SH = :Ma_Ky_SH AND khoathi_thisinh.IDKhoaHoc = "
                   ":IDKhoaHoc limit 1");
    query.bind(":Ma_Dang_Ky", maDangKy);
    query.bind(":Ma_Ky_SH", maKySH);
    query.bind(":IDKhoaHoc", course);
    query.exec();
    return query.next();
}

bool MySqlConnection::updateContestantInfo(int id, const CRUDStudentInfo &info)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    int person = 0;
    {
        SqlQuery query(m_db, "MySqlConnection::updateContestantInfo (query)",
                       "SELECT * FROM khoathi_thisinh where ID = :ID");
        query.bind(":ID", id);
        if (!query.exec())
            return false;
        if (query.next())
            person = query.value("IDThiSinh").toInt();
    }

    {
        SqlQuery query(m_db, "MySqlConnection::updateContestantInfo (query)",
                       "update khoathi_thisinh set SoBaoDanh = :SoBaoDanh, LoaiBang = :LoaiBang, "
                       "AnhChanDung = :AnhChanDung, NoiDungSH = :NoiDungSH, CheckSumKQMP = "
                       ":CheckSumKQMP where ID = :ID");
        query.bind(":SoBaoDanh", info.getSoBaoDanh());
        query.bind(":LoaiBang", info.getLoaiBang());
        query.bind(":AnhChanDung", info.getAnhChanDung());
        query.bind(":NoiDungSH", info.getNoiDungSH());
        // An edited candidate's stored result must no longer verify.
        query.bind(":CheckSumKQMP", QVariant());
        query.bind(":ID", id);
        if (!query.exec())
            return false;
    }

    SqlQuery query(m_db, "MySqlConnection::updateContestantInfo (query)",
                   "update thisinh set HoTen = :HoTen, GioiTinh = :GioiTinh, NgaySinh = :NgaySinh, "
                   "SoCMT = :SoCMT where IDThiSinh = :IDThiSinh");
    query.bind(":HoTen", info.getHoTen());
    query.bind(":GioiTinh", info.getGioiTinh());
    query.bind(":NgaySinh", info.getNgaySinh().toString("yyyy-MM-dd"));
    query.bind(":SoCMT", info.getSoCMT());
    query.bind(":IDThiSinh", person);
    if (!query.exec())
        return false;
    return true;
}

bool MySqlConnection::removeContestantInfo(int id, const QString &course)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::removeContestantInfo",
                   "DELETE FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc and ID = :ID");
    query.bind(":IDKhoaHoc", course);
    query.bind(":ID", id);
    if (!query.exec())
        return false;
    qDebug() << "remove info success";
    return true;
}

bool MySqlConnection::resetContestantResult(int id, const QString &course, const QString &reason)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    QString note;
    {
        SqlQuery query(m_db, "MySqlConnection::resetContestantResult (query)",
                       "SELECT GhiChu FROM khoathi_thisinh WHERE IDKhoaHoc = :IDKhoaHoc and ID = :ID");
        query.bind(":IDKhoaHoc", course);
        query.bind(":ID", id);
        query.exec();
        if (query.next())
            note = query.value("GhiChu").toString();
    }

    const QString item = QDateTime::currentDateTime().toString(QLatin1String(RESET_TIME_FORMAT)) + "#" + reason;
    QString newNote = note.isEmpty() ? item : note + ";" + item;
    // The history keeps to 255 characters by starting over; a single item
    // longer than that is still kept whole.
    if (newNote.size() > 255)
        newNote = item;

    SqlQuery query(m_db, "MySqlConnection::resetContestantResult (query)",
                   "UPDATE khoathi_thisinh SET DiemMoPhong = :DiemMoPhong, DiemChuanMoPhong = "
                   ":DiemChuanMoPhong, KetQuaMoPhong = :KetQuaMoPhong, ThoiGianBatDauThi = "
                   ":ThoiGianBatDauThi, ThoiGianKetThucThi = :ThoiGianKetThucThi, TrangThai = :TrangThai, "
                   "CheckSumKQMP = :CheckSumKQMP, TraLoiMoPhong = :TraLoiMoPhong, GhiChu = :GhiChu where "
                   "IDKhoaHoc = :IDKhoaHoc and ID = :ID");
    query.bind(":DiemMoPhong", -1);
    query.bind(":DiemChuanMoPhong", 35);
    query.bind(":KetQuaMoPhong", QVariant());
    query.bind(":ThoiGianBatDauThi", QVariant());
    query.bind(":ThoiGianKetThucThi", QVariant());
    query.bind(":TrangThai", 0);
    query.bind(":CheckSumKQMP", QVariant());
    query.bind(":TraLoiMoPhong", QVariant());
    query.bind(":GhiChu", newNote);
    query.bind(":IDKhoaHoc", course);
    query.bind(":ID", id);
    if (!query.exec())
        return false;
    qDebug() << "reset result success: ";
    return true;
}

bool MySqlConnection::updateKetQuaSHLyThuyet(int id, const QString &ketQuaSHLyThuyet)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::updateKetQuaSHLyThuyet",
                   "UPDATE khoathi_thisinh SET KetQuaSHLyThuyet = :KetQuaSHLyThuyet where ID = :ID");
    query.bind(":KetQuaSHLyThuyet", ketQuaSHLyThuyet);
    query.bind(":ID", id);
    return query.exec();
}

bool MySqlConnection::insertNguoiLX(Student student)
{
    return insertPerson(student) != 0;
}

int MySqlConnection::insertPerson(const Student &student)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::insertNguoiLX",
                   "INSERT INTO thisinh (SoTT, Ma_Dang_Ky, HoTen, GioiTinh, NgaySinh, SoCMT, Ma_Ky_SH, "
                   "DiaChi) VALUES (:SoTT, :Ma_Dang_Ky, :HoTen, :GioiTinh, :NgaySinh, :SoCMT, :Ma_Ky_SH, "
                   ":DiaChi)");
    query.bind(":SoTT", student.getSoTT());
    query.bind(":Ma_Dang_Ky", student.getMa_Dang_Ky());
    query.bind(":HoTen", student.getHoTen());
    query.bind(":GioiTinh", student.getGioiTinh());
    query.bind(":NgaySinh", student.getNgaySinh().toString("yyyyMMdd"));
    query.bind(":SoCMT", student.getSoCMT());
    query.bind(":Ma_Ky_SH", student.getMa_Ky_SH());
    query.bind(":DiaChi", student.getDiaChi());
    if (!query.exec())
        return 0;
    return query.lastInsertId().toInt();
}

bool MySqlConnection::insertKhoaThiThiSinh(KhoaThiThiSinh khoaThiThiSinh)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::insertKhoaThiThiSinh", entryInsertStatement());
    bindEntryColumns(query, khoaThiThiSinh);
    return query.exec();
}

Student MySqlConnection::getStudent(int idThiSinh)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::getStudent",
                   "SELECT * FROM thisinh WHERE IDThiSinh = :IDThiSinh");
    query.bind(":IDThiSinh", idThiSinh);
    query.exec();
    return query.first() ? personFromRow(query, PersonNationality::Read) : Student();
}

Student MySqlConnection::findStudent(const QString &soCMT, const QString &hoTen)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::findStudent",
                   "SELECT * FROM thisinh WHERE SoCMT = :SoCMT AND HoTen = :HoTen");
    query.bind(":SoCMT", soCMT);
    query.bind(":HoTen", hoTen);
    query.exec();
    return query.first() ? personFromRow(query, PersonNationality::Skipped) : Student();
}

Student MySqlConnection::findStudent(const QString &soCMT, const QString &hoTen, const QString &maKySH)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnection::findStudent",
                   "SELECT * FROM thisinh WHERE SoCMT = :SoCMT AND HoTen = :HoTen AND Ma_Ky_SH = :Ma_Ky_SH");
    query.bind(":SoCMT", soCMT);
    query.bind(":HoTen", hoTen);
    query.bind(":Ma_Ky_SH", maKySH);
    query.exec();
    return query.first() ? personFromRow(query, PersonNationality::Skipped) : Student();
}

QList<KhoaThiThiSinh *> MySqlConnection::getKhoaThiThiSinhList(const QString &course)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    QList<KhoaThiThiSinh *> entries;
    SqlQuery query(m_db, "MySqlConnection::getKhoaThiThiSinhList",
                   "SELECT * FROM khoathi_thisinh WHERE IDKhoaHoc = :IDKhoaHoc ORDER BY SoBaoDanh * 1, ID");
    query.bind(":IDKhoaHoc", course);
    query.exec();
    while (query.next())
        entries.append(new KhoaThiThiSinh(entryFromRow(query)));
    return entries;
}

QList<KhoaThiThiSinh *> MySqlConnection::getTheoryFailedStudents(const QString &course)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    QList<KhoaThiThiSinh *> entries;
    SqlQuery query(m_db, "MySqlConnection::getTheoryFailedStudents",
                   "SELECT * FROM khoathi_thisinh WHERE IDKhoaHoc = :IDKhoaHoc ORDER BY SoBaoDanh * 1, ID");
    query.bind(":IDKhoaHoc", course);
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
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    auto *list = new StudentInfoList;
    SqlQuery query(m_db, "MySqlConnection::getStudentInfosOfCourse",
                   "SELECT thisinh.HoTen, thisinh.SoCMT, thisinh.NgaySinh, thisinh.GioiTinh, "
                   "thisinh.DiaChi, khoathi_thisinh.* FROM thisinh INNER JOIN khoathi_thisinh ON "
                   "thisinh.IDThiSinh = khoathi_thisinh.IDThiSinh WHERE khoathi_thisinh.IDKhoaHoc = "
                   ":idKhoaHoc ORDER BY SoBaoDanh * 1");
    query.bind(":idKhoaHoc", course);
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
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    auto *list = new StudentInfoList;
    SqlQuery query(m_db, "MySqlConnection::getSoBaoDanhByState",
                   "SELECT SoBaoDanh FROM khoathi_thisinh WHERE khoathi_thisinh.IDKhoaHoc = :idKhoaHoc "
                   "AND khoathi_thisinh.TrangThai = :TrangThai ORDER BY SoBaoDanh * 1");
    query.bind(":idKhoaHoc", course);
    query.bind(":TrangThai", 1);
    query.exec();
    while (query.next()) {
        auto *row = new StudentInfo;
        row->setSoBaoDanh(query.value("SoBaoDanh").toString());
        list->append(row);
    }
    return list;
}

ReportInfo MySqlConnection::getPrintDetail(const QString &course, const QString &soBaoDanh)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery entry(m_db, "MySqlConnection::getPrintDetail",
                   "select * from khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc and SoBaoDanh = :SoBaoDanh");
    entry.bind(":IDKhoaHoc", course);
    entry.bind(":SoBaoDanh", soBaoDanh);
    entry.exec();
    entry.first();
    return readPrintDetail(entry, course, soBaoDanh);
}
