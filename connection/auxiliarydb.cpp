#include "connection/auxiliarydb.h"

#include "connection/courserow.h"
#include "connection/mysqlopener.h"
#include "connection/sqlquery.h"

#include <QByteArray>
#include <QDebug>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The other system's own notes and dates are not this system's photo folder
// and import date.
Course courseOf(const QSqlQuery &query)
{
    Course course = courseFromRow(query);
    course.setNgayImport(QDate());
    course.setGhiChu(QString());
    return course;
}

} // namespace

AuxiliaryDb::AuxiliaryDb(QObject *parent)
    : QObject(parent)
{
}

QSqlError AuxiliaryDb::initDatabase(const QString &connectionName, const QString &host, int port,
                                    const QString &databaseName, const QString &userName,
                                    const QString &password)
{
    // The same time-out as the main database: an unreachable theory-test
    // server must not hold the start-up or the import menus.
    return MySqlOpener::open(m_db, connectionName, host, port, databaseName, userName, password);
}

QSqlDatabase AuxiliaryDb::getDatabase() const
{
    return m_db;
}

QList<AuxiliaryKhoaThiThiSinh *> AuxiliaryDb::getAuxiliaryKhoaThiThiSinh(const QString &IDKhoaHoc)
{
    QList<AuxiliaryKhoaThiThiSinh *> entries;
    SqlQuery query(m_db, "AuxiliaryDb::getAuxiliaryKhoaThiThiSinh",
                   "SELECT * FROM khoahoc_thisinh WHERE IDKhoaHoc = :IDKhoaHoc ORDER BY SoBaoDanh * 1, ID");
    query.bind(":IDKhoaHoc", IDKhoaHoc);
    if (!query.exec())
        return entries;
    while (query.next()) {
        auto *entry = new AuxiliaryKhoaThiThiSinh;
        entry->setID(query.value("ID").toInt());
        entry->setIDKhoaHoc(query.value("IDKhoaHoc").toString());
        entry->setIDThiSinh(query.value("IDThiSinh").toInt());
        entry->setSoBaoDanh(query.value("SoBaoDanh").toString());
        entry->setTraLoiDung(query.value("TraLoiDung").toInt());
        entry->setTraLoiSai(query.value("TraLoiSai").toInt());
        entry->setKhongTraLoi(query.value("KhongTraLoi").toInt());
        entry->setKetQua(query.value("KetQua").toString());
        entry->setSoChungChiTotNghiep(query.value("SoChungChiTotNghiep").toString());
        entry->setThi(query.value("Thi").toInt());
        entry->setLoaiBang(query.value("LoaiBang").toString());
        entry->setTraLoi(query.value("TraLoi").toString());
        entry->setUpdateTime(query.value("UpdateTime").toDateTime());
        entry->setDiemChuan(query.value("Diem_Chuan").toInt());
        entry->setGhiChu(query.value("GhiChu").toString());
        entries << entry;
    }
    return entries;
}

QList<AuxiliaryKhoaThiThiSinh *> AuxiliaryDb::getAuxiliaryResults(const QString &IDKhoaHoc)
{
    QList<AuxiliaryKhoaThiThiSinh *> results;
    SqlQuery query(m_db, "AuxiliaryDb::getAuxiliaryResults",
                   "SELECT * FROM khoahoc_thisinh WHERE IDKhoaHoc = :IDKhoaHoc ORDER BY SoBaoDanh * 1, ID");
    query.bind(":IDKhoaHoc", IDKhoaHoc);
    if (!query.exec())
        return results;
    while (query.next()) {
        const QString result = query.value("KetQua").toString();
        // Not trimmed: only a missing result means "not examined yet".
        if (result.isEmpty())
            continue;
        auto *entry = new AuxiliaryKhoaThiThiSinh;
        entry->setSoBaoDanh(query.value("SoBaoDanh").toString());
        entry->setKetQua(result);
        results << entry;
    }
    return results;
}

QList<Course *> AuxiliaryDb::getRecentAuxiliaryCourses()
{
    QList<Course *> courses;
    // curdate(), as the main database's list: a course examined exactly six
    // months ago is still listed whatever the time of day.
    SqlQuery query(m_db, "AuxiliaryDb::getRecentAuxiliaryCourses",
                   "select * from khoahoc where NgayThi >= date_sub(curdate(), interval 6 month) "
                   "order by NgayThi desc;");
    if (!query.exec())
        return courses;
    while (query.next())
        courses << new Course(courseOf(query));
    return courses;
}

Course AuxiliaryDb::getAuxiliaryCourse(const QString &IDKhoaHoc)
{
    SqlQuery query(m_db, "AuxiliaryDb::getAuxiliaryCourse",
                   "SELECT * FROM khoahoc WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bind(":IDKhoaHoc", IDKhoaHoc);
    if (!query.exec() || !query.first())
        return Course();
    return courseOf(query);
}

Province AuxiliaryDb::getAuxiliaryProvince(const QString &IDTinh)
{
    Province province;
    province.setIDTinh(IDTinh);
    SqlQuery query(m_db, "AuxiliaryDb::getAuxiliaryProvince",
                   "SELECT * FROM tinh WHERE IDTinh = :IDTinh");
    query.bind(":IDTinh", IDTinh);
    if (query.exec() && query.first())
        province.setTenTinh(query.value("TenTinh").toString());
    return province;
}

AuxiliaryStudent AuxiliaryDb::getAuxiliaryStudent(int IDThiSinh)
{
    AuxiliaryStudent student;
    SqlQuery query(m_db, "AuxiliaryDb::getAuxiliaryStudent",
                   "SELECT * FROM thisinh WHERE IDThiSinh = :IDThiSinh");
    query.bind(":IDThiSinh", IDThiSinh);
    if (!query.exec() || !query.first())
        return student;
    student.setIDThiSinh(query.value("IDThiSinh").toInt());
    student.setIDKhoaHoc(query.value("IDKhoaHoc").toString());
    student.setMa_Dang_Ky(query.value("Ma_Dang_Ky").toString());
    student.setMa_Ky_SH(query.value("Ma_Ky_SH").toString());
    student.setHoTen(query.value("HoTen").toString());
    student.setGioiTinh(query.value("GioiTinh").toString());
    student.setSoCMT(query.value("SoCMT").toString());
    student.setNgaySinh(query.value("NgaySinh").toDate());
    student.setQuocTich(query.value("QuocTich").toString());
    student.setDiaChi(query.value("DiaChi").toString());
    student.setSucKhoe(query.value("SucKhoe").toString());
    student.setVanHoa(query.value("VanHoa").toString());
    student.setGplxDaCo(query.value("GplxDaCo").toString());
    student.setThamNien(query.value("ThamNien").toString());
    student.setSoKm(query.value("SoKm").toString());
    student.setGhiChu(query.value("GhiChu").toString());
    student.setDuongDanAnh(query.value("DuongDanAnh").toString());
    student.setnoidungSH(query.value("noidungSH").toString());
    student.setAnh(QString::fromLatin1(query.value("Anh").toByteArray().toBase64()));
    return student;
}

Unit AuxiliaryDb::getAuxiliaryUnit(const QString &IDDonVi)
{
    Unit unit;
    unit.setIDDonVi(IDDonVi);
    SqlQuery query(m_db, "AuxiliaryDb::getAuxiliaryUnit",
                   "SELECT * FROM donvi WHERE IDDonVi = :IDDonVi");
    query.bind(":IDDonVi", IDDonVi);
    if (query.exec() && query.first()) {
        unit.setIDTinh(query.value("IDTinh").toString());
        unit.setTenDonVi(query.value("TenDonVi").toString());
    }
    return unit;
}
