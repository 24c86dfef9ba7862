#include "connection/auxiliarydb.h"

#include <QByteArray>
#include <QDebug>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Installations of the theory-test system keep the exam date either as a
// DATE column or as "yyyyMMdd" text; both must give the same date.
QDate examDate(const QVariant &value)
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

Course courseOf(const QSqlQuery &query)
{
    Course course;
    course.setIDKhoaHoc(query.value("IDKhoaHoc").toString());
    course.setTenKhoaHoc(query.value("TenKhoaHoc").toString());
    course.setIDDonVi(query.value("IDDonVi").toString());
    course.setNgayThi(examDate(query.value("NgayThi")));
    course.setNamHoc(query.value("NamHoc").toInt());
    course.setThi(query.value("Thi").toInt());
    course.setHoiDong(query.value("HoiDong").toString());
    course.setTrungTam(query.value("TrungTam").toString());
    course.setTrangThai(query.value("TrangThai").toInt());
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
    m_db = QSqlDatabase::addDatabase("QMYSQL", connectionName);
    m_db.setHostName(host);
    m_db.setPort(port);
    m_db.setDatabaseName(databaseName);
    m_db.setUserName(userName);
    m_db.setPassword(password);
    if (!m_db.open())
        return m_db.lastError();
    return QSqlError();
}

QSqlDatabase AuxiliaryDb::getDatabase() const
{
    return m_db;
}

QList<AuxiliaryKhoaThiThiSinh *> AuxiliaryDb::getAuxiliaryKhoaThiThiSinh(const QString &IDKhoaHoc)
{
    QList<AuxiliaryKhoaThiThiSinh *> entries;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM khoahoc_thisinh WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bindValue(":IDKhoaHoc", IDKhoaHoc);
    if (!query.exec()) {
        qDebug() << "AuxiliaryDb::getAuxiliaryKhoaThiThiSinh " << query.lastError();
        return entries;
    }
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
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM khoahoc_thisinh WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bindValue(":IDKhoaHoc", IDKhoaHoc);
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
    QSqlQuery query(m_db);
    // curdate(), as the main database's list: a course examined exactly six
    // months ago is still listed whatever the time of day.
    query.prepare("select * from khoahoc where NgayThi >= date_sub(curdate(), interval 6 month) "
                  "order by NgayThi desc;");
    if (!query.exec())
        return courses;
    while (query.next())
        courses << new Course(courseOf(query));
    return courses;
}

Course AuxiliaryDb::getAuxiliaryCourse(const QString &IDKhoaHoc)
{
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM khoahoc WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bindValue(":IDKhoaHoc", IDKhoaHoc);
    if (!query.exec() || !query.first())
        return Course();
    return courseOf(query);
}

Province AuxiliaryDb::getAuxiliaryProvince(const QString &IDTinh)
{
    Province province;
    province.setIDTinh(IDTinh);
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM tinh WHERE IDTinh = :IDTinh");
    query.bindValue(":IDTinh", IDTinh);
    if (query.exec() && query.first())
        province.setTenTinh(query.value("TenTinh").toString());
    return province;
}

AuxiliaryStudent AuxiliaryDb::getAuxiliaryStudent(int IDThiSinh)
{
    AuxiliaryStudent student;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM thisinh WHERE IDThiSinh = :IDThiSinh");
    query.bindValue(":IDThiSinh", IDThiSinh);
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
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM donvi WHERE IDDonVi = :IDDonVi");
    query.bindValue(":IDDonVi", IDDonVi);
    if (query.exec() && query.first()) {
        unit.setIDTinh(query.value("IDTinh").toString());
        unit.setTenDonVi(query.value("TenDonVi").toString());
    }
    return unit;
}
