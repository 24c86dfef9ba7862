#include "connection/mysqlconnectionbase.h"

#include <QDate>
#include <QMutexLocker>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Stored checksums were computed over the date followed by these literal
// letters, never the time of day: keep the text exactly so.
QString resultTimeText(const QVariant &value)
{
    const QDate date = value.toDate();
    if (!date.isValid())
        return QString("");
    return date.toString("yyyy-MM-dd") + QString(" hh:mm:ss");
}

} // namespace

MySqlConnectionBase::MySqlConnectionBase(QObject *parent) : QObject(parent) {}

MySqlConnectionBase::~MySqlConnectionBase() = default;

QVariant MySqlConnectionBase::fieldOf(const QSqlQuery &query, const QString &name)
{
    return query.isValid() ? query.value(name) : QVariant();
}

QSqlError MySqlConnectionBase::initDatabase(const QString &connectionName, const QString &host,
                                            int port, const QString &databaseName,
                                            const QString &userName, const QString &password)
{
    QMutexLocker locker(&m_mutex);
    // Let go of a previous handle first, so replacing a connection of the
    // same name does not leave this object on the removed one.
    m_db = QSqlDatabase();
    m_db = QSqlDatabase::addDatabase("QMYSQL", connectionName);
    m_db.setHostName(host);
    m_db.setPort(port);
    m_db.setDatabaseName(databaseName);
    m_db.setUserName(userName);
    m_db.setPassword(password);
    m_db.setConnectOptions("MYSQL_OPT_CONNECT_TIMEOUT=10");
    if (!m_db.open())
        return m_db.lastError();
    return QSqlError();
}

QList<Course> MySqlConnectionBase::getCoursesByState()
{
    QMutexLocker locker(&m_mutex);
    QList<Course> courses;
    QSqlQuery query(m_db);
    query.prepare("select * from khoathi where TrangThai = :TrangThai");
    query.bindValue(":TrangThai", 2);
    query.exec();
    while (query.next()) {
        Course course;
        course.setTenKhoaHoc(query.value("TenKhoaHoc").toString());
        course.setIDKhoaHoc(query.value("IDKhoaHoc").toString());
        courses.append(course);
    }
    return courses;
}

ContestantResultInfo MySqlConnectionBase::getContestantResultInfo(int id)
{
    QMutexLocker locker(&m_mutex);
    ContestantResultInfo info;
    QSqlQuery query(m_db);
    query.prepare("SELECT * FROM thisinh INNER JOIN khoathi_thisinh ON thisinh.IDThiSinh = "
                  "khoathi_thisinh.IDThiSinh WHERE khoathi_thisinh.ID = :ID");
    query.bindValue(":ID", id);
    query.exec();
    query.first();
    info.setSoCMT(fieldOf(query, "SoCMT").toString());
    info.setHoTen(fieldOf(query, "HoTen").toString());
    info.setNgaySinh(fieldOf(query, "NgaySinh").toDate().toString("yyyy-MM-dd"));
    info.setSoBaoDanh(fieldOf(query, "SoBaoDanh").toString());
    info.setThoiGianBatDauThi(resultTimeText(fieldOf(query, "ThoiGianBatDauThi")));
    info.setThoiGianKetThucThi(resultTimeText(fieldOf(query, "ThoiGianKetThucThi")));
    info.setKetQuaMoPhong(fieldOf(query, "KetQuaMoPhong").toString());
    info.setTraLoiMoPhong(fieldOf(query, "TraLoiMoPhong").toString());
    info.setDiemMoPhong(QString::number(fieldOf(query, "DiemMoPhong").toInt()));
    info.setChiTietThi(QString::number(fieldOf(query, "ChiTietThi").toInt()));
    return info;
}

ReportInfo MySqlConnectionBase::readPrintDetail(const QSqlQuery &entry, const QString &courseCode,
                                                const QString &orderNumber)
{
    QMutexLocker locker(&m_mutex);

    QSqlQuery person(m_db);
    person.prepare("select * from thisinh where IDThiSinh = :IDThiSinh");
    person.bindValue(":IDThiSinh", fieldOf(entry, "IDThiSinh").toInt());
    person.exec();
    person.first();

    QSqlQuery course(m_db);
    course.prepare("select * from khoathi where IDKhoaHoc = :IDKhoaHoc");
    course.bindValue(":IDKhoaHoc", courseCode);
    course.exec();
    course.first();

    QSqlQuery unit(m_db);
    unit.prepare("select * from donvi where IDDonVi = :IDDonVi");
    unit.bindValue(":IDDonVi", fieldOf(course, "IDDonVi").toString());
    unit.exec();
    unit.first();

    QSqlQuery province(m_db);
    province.prepare("select * from tinh where IDTinh = :IDTinh");
    province.bindValue(":IDTinh", fieldOf(unit, "IDTinh").toString());
    province.exec();
    province.first();

    ReportInfo info;
    info.setProvinceName(fieldOf(province, "TenTinh").toString());
    info.setName(fieldOf(person, "HoTen").toString());
    info.setDateOfBirth(fieldOf(person, "NgaySinh").toDate().toString("dd.MM.yyyy"));
    info.setId(fieldOf(person, "SoCMT").toString());
    info.setRank(fieldOf(entry, "LoaiBang").toString());
    info.setOrderNumber(orderNumber);
    info.setScore(fieldOf(entry, "DiemMoPhong").toInt());
    info.setResult(fieldOf(entry, "KetQuaMoPhong").toString());
    info.setCourse(fieldOf(course, "TenKhoaHoc").toString());
    info.setContestDate(fieldOf(course, "NgayThi").toDate().toString("dd.MM.yyyy"));
    info.setPlace(fieldOf(course, "TrungTam").toString());
    info.setAnswers(fieldOf(entry, "TraLoiMoPhong").toString());
    info.setContestantId(fieldOf(entry, "ID").toInt());
    info.setCheckSum(fieldOf(entry, "CheckSumKQMP").toString());
    info.setAvatar(fieldOf(entry, "AnhChanDung").toString());
    info.setAttemptCount(fieldOf(entry, "ChiTietThi").toInt());
    return info;
}
