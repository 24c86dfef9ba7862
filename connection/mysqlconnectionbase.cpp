#include "connection/mysqlconnectionbase.h"

#include "connection/courserow.h"
#include "connection/mysqlopener.h"
#include "connection/sqlquery.h"

#include <QDate>
#include <QDebug>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>

QString MySqlConnectionBase::resultTimeText(const QVariant &value)
{
    // Stored checksums were computed over the date followed by these
    // literal letters, never the time of day: keep the text exactly so.
    const QDate date = value.toDate();
    if (!date.isValid())
        return QString("");
    return date.toString("yyyy-MM-dd") + QString(" hh:mm:ss");
}

QDateTime MySqlConnectionBase::lastResetTime(const QString &history)
{
    // A reason may hold ';' itself: an item starts only where a stamp and
    // its '#' follow the separator.
    static const QRegularExpression item(
        QStringLiteral("(?:^|;)(\\d{2}/\\d{2}/\\d{4} \\d{2}:\\d{2}:\\d{2})#"));
    QDateTime last;
    QRegularExpressionMatchIterator items = item.globalMatch(history);
    while (items.hasNext())
        last = QDateTime::fromString(items.next().captured(1), QLatin1String(RESET_TIME_FORMAT));
    return last;
}

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
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    return MySqlOpener::open(m_db, connectionName, host, port, databaseName, userName, password);
}

QList<Course> MySqlConnectionBase::getCoursesByState()
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    QList<Course> courses;
    SqlQuery query(m_db, "MySqlConnectionBase::getCoursesByState",
                   "select IDKhoaHoc, TenKhoaHoc from khoathi where TrangThai = :TrangThai");
    query.bind(":TrangThai", 2);
    query.exec();
    while (query.next())
        courses.append(courseFromRow(query));
    return courses;
}

ContestantResultInfo MySqlConnectionBase::getContestantResultInfo(int id)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    ContestantResultInfo info;
    SqlQuery query(m_db, "MySqlConnectionBase::getContestantResultInfo",
                   "SELECT * FROM thisinh INNER JOIN khoathi_thisinh ON thisinh.IDThiSinh = "
                   "khoathi_thisinh.IDThiSinh WHERE khoathi_thisinh.ID = :ID");
    query.bind(":ID", id);
    query.exec();
    query.first();
    readIdentity(query, &info);
    info.setThoiGianKetThucThi(resultTimeText(fieldOf(query, "ThoiGianKetThucThi")));
    info.setKetQuaMoPhong(fieldOf(query, "KetQuaMoPhong").toString());
    info.setTraLoiMoPhong(fieldOf(query, "TraLoiMoPhong").toString());
    info.setDiemMoPhong(QString::number(fieldOf(query, "DiemMoPhong").toInt()));
    info.setChiTietThi(QString::number(fieldOf(query, "ChiTietThi").toInt()));
    return info;
}

void MySqlConnectionBase::readIdentity(const QSqlQuery &query, ContestantResultInfo *info)
{
    info->setSoCMT(fieldOf(query, "SoCMT").toString());
    info->setHoTen(fieldOf(query, "HoTen").toString());
    info->setNgaySinh(fieldOf(query, "NgaySinh").toDate().toString("yyyy-MM-dd"));
    info->setSoBaoDanh(fieldOf(query, "SoBaoDanh").toString());
    info->setThoiGianBatDauThi(resultTimeText(fieldOf(query, "ThoiGianBatDauThi")));
}

QString MySqlConnectionBase::getAvatarInfoForContestant(const QString &soBaoDanh,
                                                       const QString &idKhoaHoc)
{
    return entryValue("MySqlConnectionBase::getAvatarInfoForContestant", idKhoaHoc, soBaoDanh,
                      "AnhChanDung")
        .toString();
}

QVariant MySqlConnectionBase::entryValue(const char *name, const QString &idKhoaHoc,
                                         const QString &soBaoDanh, const QString &column)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, name,
                   "SELECT * FROM khoathi_thisinh where IDKhoaHoc = :IDKhoaHoc and SoBaoDanh = :SoBaoDanh "
                   "limit 1");
    query.bind(":IDKhoaHoc", idKhoaHoc);
    query.bind(":SoBaoDanh", soBaoDanh);
    if (!query.exec())
        return QVariant();
    if (!query.next()) {
        qDebug() << "student isn't exist";
        return QVariant();
    }
    return query.value(column);
}

ReportInfo MySqlConnectionBase::readPrintDetail(const QSqlQuery &entry, const QString &courseCode,
                                                const QString &orderNumber)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);

    SqlQuery person(m_db, "MySqlConnectionBase::readPrintDetail (person)",
                    "select * from thisinh where IDThiSinh = :IDThiSinh");
    person.bind(":IDThiSinh", fieldOf(entry, "IDThiSinh").toInt());
    person.exec();
    person.first();

    SqlQuery course(m_db, "MySqlConnectionBase::readPrintDetail (course)",
                    "select * from khoathi where IDKhoaHoc = :IDKhoaHoc");
    course.bind(":IDKhoaHoc", courseCode);
    course.exec();
    course.first();

    SqlQuery unit(m_db, "MySqlConnectionBase::readPrintDetail (unit)",
                  "select * from donvi where IDDonVi = :IDDonVi");
    unit.bind(":IDDonVi", fieldOf(course, "IDDonVi").toString());
    unit.exec();
    unit.first();

    SqlQuery province(m_db, "MySqlConnectionBase::readPrintDetail (province)",
                      "select * from tinh where IDTinh = :IDTinh");
    province.bind(":IDTinh", fieldOf(unit, "IDTinh").toString());
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
    info.setCourseCode(courseCode);
    info.setContestDate(fieldOf(course, "NgayThi").toDate().toString("dd.MM.yyyy"));
    info.setPlace(fieldOf(course, "TrungTam").toString());
    info.setAnswers(fieldOf(entry, "TraLoiMoPhong").toString());
    info.setContestantId(fieldOf(entry, "ID").toInt());
    info.setCheckSum(fieldOf(entry, "CheckSumKQMP").toString());
    info.setAvatar(fieldOf(entry, "AnhChanDung").toString());
    info.setAttemptCount(fieldOf(entry, "ChiTietThi").toInt());
    return info;
}
