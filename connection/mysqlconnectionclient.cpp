#include "connection/mysqlconnectionclient.h"

#include "common/constants.h"
#include "connection/sqlquery.h"
#include "records/utility.h"

#include <QDateTime>
#include <QDebug>
#include <QSqlQuery>
#include <QVariant>

MySqlConnectionClient::MySqlConnectionClient(QObject *parent) : MySqlConnectionBase(parent) {}

MySqlConnectionClient::~MySqlConnectionClient() = default;

void MySqlConnectionClient::closeConnection()
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    const QString name = m_db.connectionName();
    m_db.close();
    // The name can only be unregistered once no handle refers to it.
    m_db = QSqlDatabase();
    if (!name.isEmpty())
        QSqlDatabase::removeDatabase(name);
}

namespace {

void tell(SqlQuery::Failure *failure, const SqlQuery &query)
{
    if (failure)
        *failure = query.failure();
}

} // namespace

OrderNumberCheck MySqlConnectionClient::checkOrderNumber(const QString &idKhoaHoc, const QString &soBaoDanh,
                                                         SqlQuery::Failure *failure)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    OrderNumberCheck check;

    SqlQuery course(m_db, "MySqlConnectionClient::checkOrderNumber (course)",
                    "select * from khoathi where TrangThai = :TrangThai and IDKhoaHoc = :IDKhoaHoc");
    course.bind(":TrangThai", 2);
    course.bind(":IDKhoaHoc", idKhoaHoc);
    course.exec();
    tell(failure, course);
    if (!course.next()) {
        check.setStatus(4);
        return check;
    }
    check.setIDKhoaHoc(course.value("IDKhoaHoc").toString());

    SqlQuery entry(m_db, "MySqlConnectionClient::checkOrderNumber (entry)",
                   "SELECT thisinh.SoCMT, thisinh.HoTen, khoathi_thisinh.ID, khoathi_thisinh.TrangThai, "
                   "khoathi_thisinh.NoiDungSH, khoathi_thisinh.LoaiBang FROM thisinh INNER JOIN "
                   "khoathi_thisinh ON thisinh.IDThiSinh = khoathi_thisinh.IDThiSinh WHERE "
                   "khoathi_thisinh.IDKhoaHoc = :IDKhoaHoc AND khoathi_thisinh.SoBaoDanh = :SoBaoDanh");
    entry.bind(":IDKhoaHoc", idKhoaHoc);
    entry.bind(":SoBaoDanh", soBaoDanh);
    entry.exec();
    tell(failure, entry);
    if (!entry.next())
        return check;

    const int state = entry.value("TrangThai").toInt();
    check.setNoiDungSH(entry.value("NoiDungSH").toString());
    // Checked before the state: such a candidate never sits this test.
    if (NO_SIMULATION_CONTENT_LIST.contains(check.getNoiDungSH())) {
        check.setStatus(6);
        return check;
    }

    switch (state) {
    case 0:
    case 2:
        check.setLicenceClass(Utility::getInstance()->indexOfLicenceClass(entry.value("LoaiBang").toString()));
        check.setID(entry.value("ID").toInt());
        check.setSoCMT(entry.value("SoCMT").toString().leftJustified(12, QChar(' ')));
        check.setHoTen(entry.value("HoTen").toString());
        check.setStatus(state == 0 ? 0 : 2);
        break;
    case 1:
        check.setStatus(3);
        break;
    default:
        break;
    }
    return check;
}

QString MySqlConnectionClient::getCourseGhiChu(const QString &idKhoaHoc)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnectionClient::getCourseGhiChu",
                   "SELECT GhiChu FROM khoathi WHERE IDKhoaHoc = :IDKhoaHoc");
    query.bind(":IDKhoaHoc", idKhoaHoc);
    query.exec();
    return query.next() ? query.value("GhiChu").toString() : QString();
}

QString MySqlConnectionClient::getTraLoiMoPhong(int id, SqlQuery::Failure *failure)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnectionClient::getTraLoiMoPhong",
                   "SELECT TraLoiMoPhong FROM khoathi_thisinh WHERE ID = :ID");
    query.bind(":ID", id);
    query.exec();
    tell(failure, query);
    return query.next() ? query.value("TraLoiMoPhong").toString() : QString();
}

int MySqlConnectionClient::getContestantState(int id, SqlQuery::Failure *failure)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnectionClient::getContestantState",
                   "SELECT TrangThai FROM khoathi_thisinh WHERE ID = :ID");
    query.bind(":ID", id);
    query.exec();
    tell(failure, query);
    return query.next() ? query.value("TrangThai").toInt() : -1;
}

QString MySqlConnectionClient::getKetQuaSHLyThuyet(const QString &idKhoaHoc, const QString &soBaoDanh)
{
    return entryValue("MySqlConnectionClient::getKetQuaSHLyThuyet", idKhoaHoc, soBaoDanh, "KetQuaSHLyThuyet")
        .toString();
}

void MySqlConnectionClient::getRegistrationCodes(const QString &idKhoaHoc, const QString &soBaoDanh,
                                                 QString &maDangKy, QString &maKySH)
{
    maDangKy = QString("");
    maKySH = QString("");
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnectionClient::getRegistrationCodes",
                   "SELECT thisinh.Ma_Dang_Ky, thisinh.Ma_Ky_SH FROM thisinh INNER JOIN khoathi_thisinh ON "
                   "thisinh.IDThiSinh = khoathi_thisinh.IDThiSinh WHERE khoathi_thisinh.IDKhoaHoc = "
                   ":IDKhoaHoc AND khoathi_thisinh.SoBaoDanh = :SoBaoDanh");
    query.bind(":IDKhoaHoc", idKhoaHoc);
    query.bind(":SoBaoDanh", soBaoDanh);
    query.exec();
    if (query.next()) {
        maDangKy = query.value("Ma_Dang_Ky").toString();
        maKySH = query.value("Ma_Ky_SH").toString();
    }
}

ReportInfo *MySqlConnectionClient::getPrintDetail(int id, const QString &idKhoaHoc)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery entry(m_db, "MySqlConnectionClient::getPrintDetail",
                   "select * from khoathi_thisinh where ID = :ID");
    entry.bind(":ID", id);
    entry.exec();
    entry.first();
    return new ReportInfo(readPrintDetail(entry, idKhoaHoc, fieldOf(entry, "SoBaoDanh").toString()));
}

bool MySqlConnectionClient::updateContestStart(int id, const QString &startTime, int state,
                                               SqlQuery::Failure *failure)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    const QDateTime arrived = QDateTime::fromString(startTime, "yyyy-MM-dd hh:mm:ss");
    bool ranAgain = false;
    // A reset by the operator's connection may come between the read and
    // the write: the write takes the history it was read with only, and a
    // history that changed meanwhile is read again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        SqlQuery read(m_db, "MySqlConnectionClient::updateContestStart (read)",
                      "SELECT TrangThai, ThoiGianBatDauThi, GhiChu FROM khoathi_thisinh WHERE ID = :ID");
        read.bind(":ID", id);
        const bool found = read.exec() && read.next();
        tell(failure, read);
        if (!found)
            return false;
        const int current = read.value("TrangThai").toInt();
        if (current != 0) {
            // The first run of the write took it before its reply was lost.
            return ranAgain && current == state
                   && read.value("ThoiGianBatDauThi").toDateTime().toString("yyyy-MM-dd hh:mm:ss") == startTime;
        }
        const QString history = read.value("GhiChu").toString();
        const QDateTime reset = lastResetTime(history);
        if (reset.isValid() && reset > arrived) {
            qInfo().noquote() << "MySqlConnectionClient::updateContestStart: entry" << id << "was reset at"
                              << reset.toString("yyyy-MM-dd hh:mm:ss") << ", after its start arrived at"
                              << startTime << ": it is not marked as started";
            return false;
        }
        // Only an entry that has not started: moving a finished one back
        // into the examination would let a later result overwrite the
        // stored one.
        SqlQuery query(m_db, "MySqlConnectionClient::updateContestStart",
                       "update khoathi_thisinh set TrangThai = :TrangThai, ThoiGianBatDauThi = :ThoiGianBatDauThi "
                       "where ID = :ID AND (TrangThai = 0 OR TrangThai IS NULL) AND GhiChu <=> :GhiChu");
        query.bind(":TrangThai", state);
        query.bind(":ThoiGianBatDauThi", startTime);
        query.bind(":ID", id);
        query.bind(":GhiChu", read.value("GhiChu").isNull() ? QString() : history);
        const bool ran = query.exec();
        tell(failure, query);
        if (!ran)
            return false;
        if (query.numRowsAffected() > 0)
            return true;
        ranAgain = ranAgain || query.ranAgain();
    }
    return false;
}

bool MySqlConnectionClient::updateAvatar(const QString &idKhoaHoc, const QString &soBaoDanh,
                                         const QString &avatar)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnectionClient::updateAvatar",
                   "update khoathi_thisinh set AnhChanDung = :AnhChanDung where IDKhoaHoc = :IDKhoaHoc and "
                   "SoBaoDanh = :SoBaoDanh");
    query.bind(":AnhChanDung", avatar);
    query.bind(":IDKhoaHoc", idKhoaHoc);
    query.bind(":SoBaoDanh", soBaoDanh);
    return query.exec();
}

bool MySqlConnectionClient::updateCheckSum(int id, const QString &checkSum, SqlQuery::Failure *failure)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnectionClient::updateCheckSum",
                   "UPDATE khoathi_thisinh SET CheckSumKQMP = :CheckSumKQMP where ID = :ID");
    query.bind(":CheckSumKQMP", checkSum);
    query.bind(":ID", id);
    const bool ran = query.exec();
    tell(failure, query);
    if (!ran)
        return false;
    qDebug() << "update checksum success: ";
    return true;
}

MySqlConnectionClient::ResultBasis MySqlConnectionClient::readResultBasis(int id, const QString &idKhoaHoc,
                                                                         SqlQuery::Failure *failure)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    ResultBasis basis;
    // Left-joined: an entry without its person is still the entry.
    SqlQuery query(m_db, "MySqlConnectionClient::readResultBasis",
                   "SELECT thisinh.SoCMT, thisinh.HoTen, thisinh.NgaySinh, khoathi_thisinh.SoBaoDanh, "
                   "khoathi_thisinh.ThoiGianBatDauThi, khoathi_thisinh.IDKhoaHoc, khoathi_thisinh.TrangThai, "
                   "khoathi_thisinh.ChiTietThi, khoathi_thisinh.GhiChu FROM khoathi_thisinh LEFT JOIN thisinh ON "
                   "thisinh.IDThiSinh = khoathi_thisinh.IDThiSinh WHERE khoathi_thisinh.ID = :ID AND "
                   "khoathi_thisinh.IDKhoaHoc = :IDKhoaHoc");
    query.bind(":ID", id);
    query.bind(":IDKhoaHoc", idKhoaHoc);
    query.exec();
    *failure = query.failure();
    if (*failure != SqlQuery::Failure::None || !query.first())
        return basis;
    basis.found = true;
    basis.courseCode = query.value("IDKhoaHoc").toString();
    basis.state = query.value("TrangThai").toInt();
    const QDateTime start = query.value("ThoiGianBatDauThi").toDateTime();
    if (start.isValid())
        basis.startTime = start.toString("yyyy-MM-dd hh:mm:ss");
    basis.attempts = query.value("ChiTietThi").toInt();
    basis.lastReset = lastResetTime(query.value("GhiChu").toString());
    readIdentity(query, &basis.identity);
    return basis;
}

ContestantResultInfo MySqlConnectionClient::resultToStore(const ResultBasis &basis, const QString &endTime,
                                                          int score, const QString &result,
                                                          const QString &answers)
{
    ContestantResultInfo info = basis.identity;
    info.setThoiGianKetThucThi(resultTimeText(QDateTime::fromString(endTime, "yyyy-MM-dd hh:mm:ss")));
    info.setKetQuaMoPhong(result);
    info.setTraLoiMoPhong(answers);
    info.setDiemMoPhong(QString::number(score));
    info.setChiTietThi(QString::number(basis.attempts + 1));
    return info;
}

bool MySqlConnectionClient::storeResult(const ResultWrite &write, SqlQuery::Failure *failure, bool *ranAgain)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    // Only an entry in the examination takes a result, so a stored result
    // and its checksum are never overwritten by a late or repeated message;
    // and only the sitting the result belongs to, so an old result never
    // lands in a sitting begun after a reset (an entry without a start time
    // matches only NULL).
    SqlQuery query(m_db, "MySqlConnectionClient::storeResult",
                   "UPDATE khoathi_thisinh SET ThoiGianKetThucThi = :ThoiGianKetThucThi, DiemMoPhong = "
                   ":DiemMoPhong, DiemChuanMoPhong = :DiemChuanMoPhong, KetQuaMoPhong = :KetQuaMoPhong, "
                   "TrangThai = :TrangThai, TraLoiMoPhong = :TraLoiMoPhong, ChiTietThi = :ChiTietThi, "
                   "CheckSumKQMP = :CheckSumKQMP where ID = :ID and IDKhoaHoc = :IDKhoaHoc and "
                   "TrangThai = 1 and ThoiGianBatDauThi <=> :ThoiGianBatDauThi");
    query.bind(":ThoiGianKetThucThi", write.endTime);
    query.bind(":DiemMoPhong", write.score);
    query.bind(":DiemChuanMoPhong", write.passMark);
    query.bind(":KetQuaMoPhong", write.result);
    query.bind(":TrangThai", 2);
    query.bind(":TraLoiMoPhong", write.answers);
    query.bind(":ChiTietThi", QString::number(write.attempts));
    query.bind(":CheckSumKQMP", write.checkSum);
    query.bind(":ID", write.id);
    query.bind(":IDKhoaHoc", write.courseCode);
    query.bind(":ThoiGianBatDauThi", write.sitting.isEmpty() ? QString() : write.sitting);
    const bool ran = query.exec();
    *failure = query.failure();
    if (ranAgain)
        *ranAgain = query.ranAgain();
    if (!ran)
        return false;
    // A matching row always changes (the state moves), so no row affected
    // means nothing was stored by this run.
    if (query.numRowsAffected() < 1) {
        qDebug() << "update result: no entry in the examination with ID" << write.id << "in course"
                 << write.courseCode << "in the sitting started at" << write.sitting;
        return false;
    }
    qDebug() << "update result success: ";
    return true;
}

MySqlConnectionClient::StoredResult MySqlConnectionClient::readStoredResult(int id, SqlQuery::Failure *failure)
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnectionClient::readStoredResult",
                   "SELECT TrangThai, ThoiGianKetThucThi, DiemMoPhong, TraLoiMoPhong FROM khoathi_thisinh "
                   "WHERE ID = :ID");
    query.bind(":ID", id);
    query.exec();
    *failure = query.failure();
    StoredResult stored;
    if (*failure != SqlQuery::Failure::None || !query.next())
        return stored;
    stored.found = true;
    stored.state = query.value("TrangThai").toInt();
    const QVariant end = query.value("ThoiGianKetThucThi");
    if (!end.isNull())
        stored.endTime = end.toDateTime().toString("yyyy-MM-dd hh:mm:ss");
    stored.score = query.value("DiemMoPhong").toInt();
    stored.answers = query.value("TraLoiMoPhong").toString();
    return stored;
}

bool MySqlConnectionClient::probe()
{
    const std::lock_guard<std::recursive_mutex> locker(m_mutex);
    SqlQuery query(m_db, "MySqlConnectionClient::probe", "SELECT 1");
    return query.exec();
}
