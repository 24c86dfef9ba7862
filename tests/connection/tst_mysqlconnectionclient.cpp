// A terminal's connection to the main database: admission, start, result,
// checksum and result sheet, against a real MariaDB; opened on one thread
// and used on others.

#include "connection/mysqlconnection.h"
#include "connection/mysqlconnectionclient.h"
#include "connection/mysqlopener.h"
#include "tests/support/maindbsuite.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testmain.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QThread>
#include <memory>

namespace {
const QString kDatabase = "tst_mysqlconnectionclient";

// A result stored as the terminals' path stores it: the entry read first,
// then the result with `checkSum` in one write, into the sitting read
// unless `sitting` is given.
bool storeResult(MySqlConnectionClient &db, const QString &course, const QString &endTime, int score,
                 const QString &result, int id, const QString &answers, const QString &sitting = QString(),
                 const QString &checkSum = QString("sum"), SqlQuery::Failure *failure = nullptr)
{
    SqlQuery::Failure read = SqlQuery::Failure::None;
    const MySqlConnectionClient::ResultBasis basis = db.readResultBasis(id, course, &read);
    SqlQuery::Failure stored = SqlQuery::Failure::None;
    MySqlConnectionClient::ResultWrite write;
    write.id = id;
    write.courseCode = course;
    write.endTime = endTime;
    write.score = score;
    write.passMark = 35;
    write.result = result;
    write.answers = answers;
    write.attempts = basis.attempts + 1;
    write.checkSum = checkSum;
    write.sitting = sitting.isNull() ? basis.startTime : sitting;
    const bool done = read == SqlQuery::Failure::None && db.storeResult(write, &stored);
    if (failure)
        *failure = read != SqlQuery::Failure::None ? read : stored;
    return done;
}
} // namespace

class TestMySqlConnectionClient : public MainDbSuite
{
    Q_OBJECT

public:
    TestMySqlConnectionClient() : MainDbSuite(kDatabase) {}

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void checkOrderNumber_data();
    void checkOrderNumber();

    void updateContestStart_data();
    void updateContestStart();
    void resultFindsItsCourseAsAdmitted_data();
    void resultFindsItsCourseAsAdmitted();
    void updateContestResultCountsAttempts_data();
    void updateContestResultCountsAttempts();
    void updateContestResultStoresNothingElsewhere_data();
    void updateContestResultStoresNothingElsewhere();
    void resultTextsAsTheyWillRead_data();
    void resultTextsAsTheyWillRead();
    void valueTooLongIsADataFailure();
    void updateAvatarAndCheckSum();

    void lookups();
    void registrationCodes();
    void printDetailByEntry();
    void sharedReadsMatchTheOperatorSide();
    void lostConnectionReopened();
    void noConnectionLeftIsNamed();

    void openedOnAnotherThread();
    void usedFromTwoThreads();

private:

    std::unique_ptr<MySqlConnectionClient> m_db;
};

void TestMySqlConnectionClient::initTestCase()
{
    QString error;
    QVERIFY2(createMainDb(&error), qPrintable(error));
    m_db.reset(new MySqlConnectionClient);
    const QSqlError opened = openConnection(m_db.get(), "0");
    QVERIFY2(opened.type() == QSqlError::NoError, qPrintable(opened.text()));
}

void TestMySqlConnectionClient::init()
{
    QVERIFY(clearMainDb());
}

void TestMySqlConnectionClient::cleanupTestCase()
{
    m_db.reset();
    closeMainDb();
}

// --- admission -------------------------------------------------------------

void TestMySqlConnectionClient::checkOrderNumber_data()
{
    // The fixture: course C1 in `courseState`; entry 50 with order number
    // "5" in state `entryState`, content `content`, licence `licence`, for a
    // person with identity number `soCMT` (or no person row at all).
    QTest::addColumn<QString>("courseState");
    QTest::addColumn<QString>("entryState");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("licence");
    QTest::addColumn<QString>("soCMT");
    QTest::addColumn<bool>("withPerson");
    QTest::addColumn<QString>("askCourse");
    QTest::addColumn<QString>("askOrder");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("licenceClass");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("outSoCMT");
    QTest::addColumn<QString>("outHoTen");
    QTest::addColumn<QString>("outContent");

    const QString padded = "0123        ";
    const QString name = "Nguyễn Văn A";
    // clang-format off
    QTest::newRow("admitted") << "2" << "0" << "1" << "B2" << "0123" << true << "C1" << "5"
                              << 0 << 2 << 50 << padded << name << "1";
    QTest::newRow("no state counts as not examined") << "2" << "NULL" << "1" << "B2" << "0123" << true << "C1" << "5"
                              << 0 << 2 << 50 << padded << name << "1";
    QTest::newRow("in the examination") << "2" << "1" << "1" << "B2" << "0123" << true << "C1" << "5"
                              << 3 << 0 << 0 << "" << "" << "1";
    QTest::newRow("result stored") << "2" << "2" << "1" << "B2" << "0123" << true << "C1" << "5"
                              << 2 << 2 << 50 << padded << name << "1";
    QTest::newRow("unexpected state") << "2" << "3" << "1" << "B2" << "0123" << true << "C1" << "5"
                              << 1 << 0 << 0 << "" << "" << "1";
    QTest::newRow("unknown order number") << "2" << "0" << "1" << "B2" << "0123" << true << "C1" << "6"
                              << 1 << 0 << 0 << "" << "" << "";
    QTest::newRow("entry without its person") << "2" << "0" << "1" << "B2" << "0123" << false << "C1" << "5"
                              << 1 << 0 << 0 << "" << "" << "";
    QTest::newRow("course prepared") << "1" << "0" << "1" << "B2" << "0123" << true << "C1" << "5"
                              << 4 << 0 << 0 << "" << "" << "";
    QTest::newRow("course examined") << "3" << "0" << "1" << "B2" << "0123" << true << "C1" << "5"
                              << 4 << 0 << 0 << "" << "" << "";
    QTest::newRow("course without state") << "NULL" << "0" << "1" << "B2" << "0123" << true << "C1" << "5"
                              << 4 << 0 << 0 << "" << "" << "";
    QTest::newRow("no such course") << "2" << "0" << "1" << "B2" << "0123" << true << "C9" << "5"
                              << 4 << 0 << 0 << "" << "" << "";
    QTest::newRow("content 7 takes no simulation") << "2" << "0" << "7" << "B2" << "0123" << true << "C1" << "5"
                              << 6 << 0 << 0 << "" << "" << "7";
    QTest::newRow("content 5 before the state") << "2" << "2" << "5" << "B2" << "0123" << true << "C1" << "5"
                              << 6 << 0 << 0 << "" << "" << "5";
    QTest::newRow("content 07 is not 7") << "2" << "0" << "07" << "B2" << "0123" << true << "C1" << "5"
                              << 0 << 2 << 50 << padded << name << "07";
    QTest::newRow("content blank 7 is not 7") << "2" << "0" << " 7" << "B2" << "0123" << true << "C1" << "5"
                              << 0 << 2 << 50 << padded << name << " 7";
    QTest::newRow("licence class not listed") << "2" << "0" << "1" << "Z9" << "0123" << true << "C1" << "5"
                              << 0 << -1 << 50 << padded << name << "1";
    QTest::newRow("licence class in lower case") << "2" << "0" << "1" << "fc" << "0123" << true << "C1" << "5"
                              << 0 << 7 << 50 << padded << name << "1";
    QTest::newRow("licence B11 before B1") << "2" << "0" << "1" << "B11" << "0123" << true << "C1" << "5"
                              << 0 << 0 << 50 << padded << name << "1";
    QTest::newRow("long identity number not cut") << "2" << "0" << "1" << "B1" << "1234567890123" << true << "C1"
                              << "5" << 0 << 1 << 50 << "1234567890123" << name << "1";
    QTest::newRow("identity number of twelve") << "2" << "2" << "1" << "B1" << "123456789012" << true << "C1"
                              << "5" << 2 << 1 << 50 << "123456789012" << name << "1";
    // clang-format on
}

void TestMySqlConnectionClient::checkOrderNumber()
{
    QFETCH(QString, courseState);
    QFETCH(QString, entryState);
    QFETCH(QString, content);
    QFETCH(QString, licence);
    QFETCH(QString, soCMT);
    QFETCH(bool, withPerson);
    QFETCH(QString, askCourse);
    QFETCH(QString, askOrder);

    QVERIFY(exec(QString("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, TrangThai) VALUES ('C1', 'Khóa', %1), "
                         "('C2', 'Khác', 2)")
                     .arg(courseState)));
    if (withPerson)
        QVERIFY(exec(QString("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT) VALUES (7, 'Nguyễn Văn A', '%1')")
                         .arg(soCMT)));
    QVERIFY(exec(QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, "
                         "LoaiBang) VALUES (50, 'C1', 7, '5', %1, '%2', '%3')")
                     .arg(entryState, content, licence)));
    // The same order number in another course must not be picked up.
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, LoaiBang) "
                 "VALUES (51, 'C2', 7, '6', 0, '1', 'C')"));

    const OrderNumberCheck check = m_db->checkOrderNumber(askCourse, askOrder);
    QTEST(check.getStatus(), "status");
    QTEST(check.getLicenceClass(), "licenceClass");
    QTEST(check.getID(), "id");
    QTEST(check.getSoCMT(), "outSoCMT");
    QTEST(check.getHoTen(), "outHoTen");
    QTEST(check.getNoiDungSH(), "outContent");
}

// --- start and result ------------------------------------------------------

void TestMySqlConnectionClient::updateContestStart_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("history");
    QTest::addColumn<bool>("starts");
    QTest::newRow("not examined") << "0" << QString() << true;
    QTest::newRow("no state") << "NULL" << QString() << true;
    QTest::newRow("in the examination") << "1" << QString() << false;
    QTest::newRow("result stored") << "2" << QString() << false;
    // The start arrived at 08:05:03.
    QTest::newRow("reset before it arrived") << "0" << "04/04/2024 08:05:03#Máy hỏng" << true;
    QTest::newRow("reset after it arrived") << "0" << "04/04/2024 08:05:04#Máy hỏng" << false;
    QTest::newRow("last of several resets after it")
        << "0" << "04/04/2024 07:00:00#Mất điện; thi lại;04/04/2024 08:30:00#Máy hỏng" << false;
    QTest::newRow("a note that is no reset") << "0" << "ghi chú 05/05/2024 09:00:00" << true;
}

void TestMySqlConnectionClient::updateContestStart()
{
    QFETCH(QString, state);
    QFETCH(QString, history);
    QFETCH(bool, starts);
    QVERIFY(exec(QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh, TrangThai, ThoiGianBatDauThi, GhiChu) "
                         "VALUES (1, 'C1', '1', %1, %2, %3), (2, 'C1', '2', 0, NULL, NULL)")
                     .arg(state, state == "0" || state == "NULL" ? "NULL" : "'2024-01-01 07:00:00'",
                          history.isNull() ? "NULL" : "'" + history + "'")));

    QCOMPARE(m_db->updateContestStart(1, "2024-04-04 08:05:03", 1), starts);

    QSqlQuery q(m_admin);
    QVERIFY(q.exec("SELECT TrangThai, ThoiGianBatDauThi FROM khoathi_thisinh WHERE ID = 1"));
    QVERIFY(q.next());
    if (starts) {
        QCOMPARE(q.value(0).toInt(), 1);
        QCOMPARE(q.value(1).toDateTime(), QDateTime(QDate(2024, 4, 4), QTime(8, 5, 3)));
    } else {
        QCOMPARE(q.value(0).isNull() ? QString("NULL") : q.value(0).toString(), state);
        QCOMPARE(q.value(1).toDateTime(),
                 state == "0" ? QDateTime() : QDateTime(QDate(2024, 1, 1), QTime(7, 0, 0)));
    }
    QCOMPARE(scalar("SELECT TrangThai FROM khoathi_thisinh WHERE ID = 2").toInt(), 0);
}

void TestMySqlConnectionClient::resultFindsItsCourseAsAdmitted_data()
{
    QTest::addColumn<QString>("sent");
    QTest::addColumn<bool>("found");
    QTest::newRow("as stored") << "KF" << true;
    QTest::newRow("lower case") << "kf" << true;
    QTest::newRow("trailing space") << "KF " << true;
    QTest::newRow("full width") << QString::fromUtf8("ＫＦ") << true;
    QTest::newRow("another course") << "KG" << false;
    QTest::newRow("part of the code") << "K" << false;
}

// The admission finds the course as the database compares texts: the
// result's entry is found the same way, and its course named as stored.
void TestMySqlConnectionClient::resultFindsItsCourseAsAdmitted()
{
    QFETCH(QString, sent);
    QFETCH(bool, found);
    QVERIFY(exec("INSERT INTO khoathi (IDKhoaHoc, TrangThai) VALUES ('KF', 2), ('KG', 2)"));
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT) VALUES (1, 'A', '9')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, LoaiBang) "
                 "VALUES (1, 'KF', 1, '1', 0, '1', 'B2')"));
    const OrderNumberCheck check = m_db->checkOrderNumber(sent, "1");
    QCOMPARE(check.getID(), found ? 1 : 0);
    if (found)
        QCOMPARE(check.getIDKhoaHoc(), QString("KF"));
    SqlQuery::Failure failure = SqlQuery::Failure::Other;
    const MySqlConnectionClient::ResultBasis basis = m_db->readResultBasis(1, sent, &failure);
    QCOMPARE(int(failure), int(SqlQuery::Failure::None));
    QCOMPARE(basis.found, found);
    QCOMPARE(basis.courseCode, found ? QString("KF") : QString());
}

void TestMySqlConnectionClient::updateContestResultCountsAttempts_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("no attempt yet") << "NULL" << 1;
    QTest::newRow("zero") << "0" << 1;
    QTest::newRow("three") << "3" << 4;
}

void TestMySqlConnectionClient::updateContestResultCountsAttempts()
{
    QFETCH(QString, before);
    QFETCH(int, after);
    QVERIFY(exec(QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh, TrangThai, ChiTietThi, "
                         "ThoiGianBatDauThi) VALUES (1, 'C1', '1', 1, %1, '2024-04-04 08:05:03')")
                     .arg(before)));

    QVERIFY(storeResult(*m_db, "C1", "2024-04-04 08:25:00", 42, "DAT", 1, "1:A;2:B"));

    QSqlQuery q(m_admin);
    QVERIFY(q.exec("SELECT * FROM khoathi_thisinh WHERE ID = 1"));
    QVERIFY(q.next());
    QCOMPARE(q.value("ChiTietThi").toInt(), after);
    QCOMPARE(q.value("TrangThai").toInt(), 2);
    QCOMPARE(q.value("DiemMoPhong").toInt(), 42);
    QCOMPARE(q.value("DiemChuanMoPhong").toInt(), 35);
    QCOMPARE(q.value("KetQuaMoPhong").toString(), QString("DAT"));
    QCOMPARE(q.value("TraLoiMoPhong").toString(), QString("1:A;2:B"));
    QCOMPARE(q.value("ThoiGianKetThucThi").toDateTime(), QDateTime(QDate(2024, 4, 4), QTime(8, 25, 0)));
    QCOMPARE(q.value("ThoiGianBatDauThi").toDateTime(), QDateTime(QDate(2024, 4, 4), QTime(8, 5, 3)));
    QCOMPARE(q.value("CheckSumKQMP").toString(), QString("sum"));
}

void TestMySqlConnectionClient::updateContestResultStoresNothingElsewhere_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("course");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("sitting");
    QTest::newRow("finished entry") << "2" << "C1" << 1 << QString();
    QTest::newRow("entry not started") << "0" << "C1" << 1 << QString();
    QTest::newRow("entry without state") << "NULL" << "C1" << 1 << QString();
    QTest::newRow("other course") << "1" << "C2" << 1 << QString();
    QTest::newRow("unknown entry") << "1" << "C1" << 99 << QString();
    // Reset and started again since the result was made.
    QTest::newRow("other sitting") << "1" << "C1" << 1 << "2024-04-04 07:00:00";
}

void TestMySqlConnectionClient::updateContestResultStoresNothingElsewhere()
{
    QFETCH(QString, state);
    QFETCH(QString, course);
    QFETCH(int, id);
    QFETCH(QString, sitting);
    QVERIFY(exec(QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh, TrangThai, ChiTietThi, DiemMoPhong, "
                         "KetQuaMoPhong, TraLoiMoPhong, CheckSumKQMP, ThoiGianBatDauThi) VALUES (1, 'C1', '1', %1, "
                         "1, 40, 'DAT', 'old', 'old sum', '2024-04-04 08:05:03')")
                     .arg(state)));

    SqlQuery::Failure failure = SqlQuery::Failure::Other;
    QVERIFY(!storeResult(*m_db, course, "2024-04-04 08:25:00", 10, "KHONG DAT", id, "new", sitting, "sum",
                         &failure));
    QCOMPARE(int(failure), int(SqlQuery::Failure::None));

    QSqlQuery q(m_admin);
    QVERIFY(q.exec("SELECT * FROM khoathi_thisinh WHERE ID = 1"));
    QVERIFY(q.next());
    QCOMPARE(q.value("TrangThai").isNull() ? QString("NULL") : q.value("TrangThai").toString(), state);
    QCOMPARE(q.value("ChiTietThi").toInt(), 1);
    QCOMPARE(q.value("DiemMoPhong").toInt(), 40);
    QCOMPARE(q.value("KetQuaMoPhong").toString(), QString("DAT"));
    QCOMPARE(q.value("TraLoiMoPhong").toString(), QString("old"));
    QCOMPARE(q.value("CheckSumKQMP").toString(), QString("old sum"));
    QVERIFY(q.value("ThoiGianKetThucThi").isNull());
}

void TestMySqlConnectionClient::resultTextsAsTheyWillRead_data()
{
    QTest::addColumn<QString>("person");
    QTest::addColumn<QString>("attempts");
    QTest::newRow("first attempt") << "1" << "NULL";
    QTest::newRow("fourth attempt") << "1" << "3";
    QTest::newRow("no person") << "NULL" << "0";
}

// The checksum is made before the write over the texts the result will
// have: they must be those read back once it is stored, byte for byte.
void TestMySqlConnectionClient::resultTextsAsTheyWillRead()
{
    QFETCH(QString, person);
    QFETCH(QString, attempts);
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) VALUES (1, 'Trần Thị Ánh', "
                 "'1990-05-17', '001190012345')"));
    QVERIFY(exec(QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, ChiTietThi, "
                         "ThoiGianBatDauThi) VALUES (1, 'C1', %1, '07', 1, %2, '2024-04-04 08:05:03')")
                     .arg(person, attempts)));

    SqlQuery::Failure failure = SqlQuery::Failure::Other;
    const MySqlConnectionClient::ResultBasis basis = m_db->readResultBasis(1, "C1", &failure);
    QCOMPARE(int(failure), int(SqlQuery::Failure::None));
    QVERIFY(basis.found);
    QCOMPARE(basis.startTime, QString("2024-04-04 08:05:03"));
    const ContestantResultInfo before =
        MySqlConnectionClient::resultToStore(basis, "2024-04-04 08:25:00", 42, "DAT", "1:A;2:B ");
    QVERIFY(storeResult(*m_db, "C1", "2024-04-04 08:25:00", 42, "DAT", 1, "1:A;2:B "));

    const ContestantResultInfo after = m_db->getContestantResultInfo(1);
    if (person == "NULL") {
        // Read back through the person, which it lacks, as before.
        QCOMPARE(after.getSoBaoDanh(), QString());
        return;
    }
    for (const auto &field : {qMakePair(before.getSoCMT(), after.getSoCMT()),
                              qMakePair(before.getHoTen(), after.getHoTen()),
                              qMakePair(before.getNgaySinh(), after.getNgaySinh()),
                              qMakePair(before.getSoBaoDanh(), after.getSoBaoDanh()),
                              qMakePair(before.getThoiGianBatDauThi(), after.getThoiGianBatDauThi()),
                              qMakePair(before.getThoiGianKetThucThi(), after.getThoiGianKetThucThi()),
                              qMakePair(before.getKetQuaMoPhong(), after.getKetQuaMoPhong()),
                              qMakePair(before.getTraLoiMoPhong(), after.getTraLoiMoPhong()),
                              qMakePair(before.getDiemMoPhong(), after.getDiemMoPhong()),
                              qMakePair(before.getChiTietThi(), after.getChiTietThi())})
        QCOMPARE(field.first, field.second);
    QCOMPARE(after.getThoiGianKetThucThi(), QString("2024-04-04 hh:mm:ss"));
}

void TestMySqlConnectionClient::valueTooLongIsADataFailure()
{
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh, TrangThai) VALUES (1, 'C1', '1', 1)"));
    SqlQuery::Failure failure = SqlQuery::Failure::None;
    QVERIFY(!storeResult(*m_db, "C1", "2024-04-04 08:25:00", 42, QString(65, QChar('D')), 1, "x", QString(),
                         "sum", &failure));
    QCOMPARE(int(failure), int(SqlQuery::Failure::Data));
    QCOMPARE(scalar("SELECT TrangThai FROM khoathi_thisinh WHERE ID = 1").toInt(), 1);
}

void TestMySqlConnectionClient::updateAvatarAndCheckSum()
{
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh) VALUES (1, 'C1', '5'), (2, 'C2', '5')"));
    QVERIFY(m_db->updateAvatar("C2", "5", "QUJD"));
    QCOMPARE(scalar("SELECT AnhChanDung FROM khoathi_thisinh WHERE ID = 2").toString(), QString("QUJD"));
    QVERIFY(scalar("SELECT AnhChanDung FROM khoathi_thisinh WHERE ID = 1").isNull());

    const QString sum = QString(32, QChar('a')) + QString(64, QChar('b'));
    QVERIFY(m_db->updateCheckSum(1, sum));
    QCOMPARE(scalar("SELECT CheckSumKQMP FROM khoathi_thisinh WHERE ID = 1").toString(), sum);
    QVERIFY(scalar("SELECT CheckSumKQMP FROM khoathi_thisinh WHERE ID = 2").isNull());
}

// --- lookups ---------------------------------------------------------------

void TestMySqlConnectionClient::lookups()
{
    QVERIFY(exec("INSERT INTO khoathi (IDKhoaHoc, GhiChu) VALUES ('C1', '/anh/c1'), ('C2', NULL)"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh, AnhChanDung, TraLoiMoPhong, TrangThai, "
                 "KetQuaSHLyThuyet) VALUES (1, 'C1', '5', 'PHOTO1', '1:A', 2, 'DAT'), "
                 "(2, 'C2', '5', 'PHOTO2', NULL, NULL, 'KHONG DAT')"));

    QCOMPARE(m_db->getCourseGhiChu("C1"), QString("/anh/c1"));
    QVERIFY(m_db->getCourseGhiChu("C2").isEmpty());
    QVERIFY(m_db->getCourseGhiChu("C9").isEmpty());

    QCOMPARE(m_db->getAvatarInfoForContestant("5", "C1"), QString("PHOTO1"));
    QCOMPARE(m_db->getAvatarInfoForContestant("5", "C2"), QString("PHOTO2"));
    QVERIFY(m_db->getAvatarInfoForContestant("6", "C1").isEmpty());

    QCOMPARE(m_db->getTraLoiMoPhong(1), QString("1:A"));
    QVERIFY(m_db->getTraLoiMoPhong(2).isEmpty());
    QVERIFY(m_db->getTraLoiMoPhong(9).isEmpty());

    QCOMPARE(m_db->getContestantState(1), 2);
    QCOMPARE(m_db->getContestantState(2), 0);
    QCOMPARE(m_db->getContestantState(9), -1);

    QCOMPARE(m_db->getKetQuaSHLyThuyet("C1", "5"), QString("DAT"));
    QCOMPARE(m_db->getKetQuaSHLyThuyet("C2", "5"), QString("KHONG DAT"));
    QVERIFY(m_db->getKetQuaSHLyThuyet("C1", "6").isEmpty());
}

void TestMySqlConnectionClient::registrationCodes()
{
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, Ma_Dang_Ky, Ma_Ky_SH) VALUES (1, 'DK1', 'K01'), (2, 'DK2', 'K02')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh) VALUES ('C1', 1, '5'), "
                 "('C2', 2, '5'), ('C1', 3, '6')"));
    QString maDangKy = "stale";
    QString maKySH = "stale";
    m_db->getRegistrationCodes("C2", "5", maDangKy, maKySH);
    QCOMPARE(maDangKy, QString("DK2"));
    QCOMPARE(maKySH, QString("K02"));

    // An entry without its person row, and no entry at all.
    for (const QString &order : {QString("6"), QString("7")}) {
        maDangKy = "stale";
        maKySH = "stale";
        m_db->getRegistrationCodes("C1", order, maDangKy, maKySH);
        QVERIFY(maDangKy.isEmpty());
        QVERIFY(maKySH.isEmpty());
    }
}

void TestMySqlConnectionClient::printDetailByEntry()
{
    QVERIFY(ProvinceUnitRows::insert(m_admin, {{"T1", "Sở GTVT"}}, {{"D1", "T1", "U1"}}));
    QVERIFY(exec("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrungTam) VALUES "
                 "('C1', 'Khóa một', 'D1', '2024-03-05', 'Trung tâm 1')"));
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT, NgaySinh) VALUES (1, 'Người một', '111', "
                 "'1990-01-02')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong, "
                 "KetQuaMoPhong, TraLoiMoPhong, CheckSumKQMP, AnhChanDung, ChiTietThi) VALUES "
                 "(31, 'C1', 1, '12', 'B2', 40, 'DAT', 'a1', 's1', 'AVATAR1', 2)"));

    std::unique_ptr<ReportInfo> r(m_db->getPrintDetail(31, "C1"));
    QVERIFY(r);
    QCOMPARE(r->getProvinceName(), QString("Sở GTVT"));
    QCOMPARE(r->getName(), QString("Người một"));
    QCOMPARE(r->getDateOfBirth(), QString("02.01.1990"));
    QCOMPARE(r->getId(), QString("111"));
    QCOMPARE(r->getRank(), QString("B2"));
    QCOMPARE(r->getOrderNumber(), QString("12"));
    QCOMPARE(r->getScore(), 40);
    QCOMPARE(r->getResult(), QString("DAT"));
    QCOMPARE(r->getCourse(), QString("Khóa một"));
    QCOMPARE(r->getContestDate(), QString("05.03.2024"));
    QCOMPARE(r->getPlace(), QString("Trung tâm 1"));
    QCOMPARE(r->getAnswers(), QString("a1"));
    QCOMPARE(r->getContestantId(), 31);
    QCOMPARE(r->getCheckSum(), QString("s1"));
    QCOMPARE(r->getAvatar(), QString("AVATAR1"));
    QCOMPARE(r->getAttemptCount(), 2);
    QCOMPARE(r->getResultValid(), false);

    std::unique_ptr<ReportInfo> none(m_db->getPrintDetail(99, "C1"));
    QVERIFY(none);
    QVERIFY(none->getOrderNumber().isEmpty());
    QCOMPARE(none->getContestantId(), 0);
}

void TestMySqlConnectionClient::sharedReadsMatchTheOperatorSide()
{
    QVERIFY(exec("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, TrangThai) VALUES ('C1', 'Một', 2), ('C2', 'Hai', 1)"));
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT, NgaySinh) VALUES (1, 'Lê Văn C', '0123', "
                 "'1990-01-02')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, ThoiGianBatDauThi, "
                 "ThoiGianKetThucThi, KetQuaMoPhong, TraLoiMoPhong, DiemMoPhong, ChiTietThi) VALUES "
                 "(21, 'C1', 1, '7', '2023-04-04 08:05:03', '2023-04-04 08:25:00', 'DAT', '1:2', 42, 1)"));

    MySqlConnection operatorSide;
    QCOMPARE(openConnection(&operatorSide, "contest").type(), QSqlError::NoError);

    const ContestantResultInfo mine = m_db->getContestantResultInfo(21);
    const ContestantResultInfo theirs = operatorSide.getContestantResultInfo(21);
    QCOMPARE(mine.getThoiGianBatDauThi(), QString("2023-04-04 hh:mm:ss"));
    QCOMPARE(mine.getSoCMT(), theirs.getSoCMT());
    QCOMPARE(mine.getHoTen(), theirs.getHoTen());
    QCOMPARE(mine.getNgaySinh(), theirs.getNgaySinh());
    QCOMPARE(mine.getSoBaoDanh(), theirs.getSoBaoDanh());
    QCOMPARE(mine.getThoiGianBatDauThi(), theirs.getThoiGianBatDauThi());
    QCOMPARE(mine.getThoiGianKetThucThi(), theirs.getThoiGianKetThucThi());
    QCOMPARE(mine.getKetQuaMoPhong(), theirs.getKetQuaMoPhong());
    QCOMPARE(mine.getTraLoiMoPhong(), theirs.getTraLoiMoPhong());
    QCOMPARE(mine.getDiemMoPhong(), QString("42"));
    QCOMPARE(mine.getChiTietThi(), QString("1"));

    const QList<Course> running = m_db->getCoursesByState();
    QCOMPARE(running.size(), 1);
    QCOMPARE(running.at(0).getIDKhoaHoc(), QString("C1"));
    QCOMPARE(running.at(0).getTenKhoaHoc(), QString("Một"));
}

// Sessions ended by the database server between two operations (a restart,
// wait_timeout, an administrator): each operation reopens its connection
// and still does its work, on both sides.
void TestMySqlConnectionClient::lostConnectionReopened()
{
    // A name with a character past U+FFFF: each session, the reopened ones
    // too, speaks utf8mb4 and reads it whole.
    const QString name = QString::fromUtf8("Lê Văn \xF0\xA4\x8B\xAE");
    QVERIFY(exec("SET NAMES utf8mb4"));
    QVERIFY(exec("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, TrangThai) VALUES ('C1', 'Một', 2)"));
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT) VALUES (1, '" + name + "', '0123')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, "
                 "LoaiBang) VALUES (5, 'C1', 1, '1', 0, '1', 'B2')"));
    MySqlConnection operatorSide;
    QCOMPARE(openConnection(&operatorSide, "contest").type(), QSqlError::NoError);
    QCOMPARE(m_db->checkOrderNumber("C1", "1").getStatus(), 0);
    QCOMPARE(m_db->checkOrderNumber("C1", "1").getHoTen(), name);

    QVERIFY(killSessions() >= 2);
    const OrderNumberCheck check = m_db->checkOrderNumber("C1", "1");
    QCOMPARE(check.getStatus(), 0);
    QCOMPARE(check.getID(), 5);
    QCOMPARE(check.getHoTen(), name);

    QVERIFY(killSessions() >= 1);
    QVERIFY(m_db->updateContestStart(5, "2024-03-05 08:00:00", 1));
    QCOMPARE(scalar("SELECT TrangThai FROM khoathi_thisinh WHERE ID = 5").toInt(), 1);

    QVERIFY(killSessions() >= 1);
    const QString answers = QString::fromUtf8("1A;2\xF0\x9F\x98\x80");
    QVERIFY(storeResult(*m_db, "C1", "2024-03-05 08:20:00", 40, "DAT", 5, answers));
    QCOMPARE(scalar("SELECT DiemMoPhong FROM khoathi_thisinh WHERE ID = 5").toInt(), 40);
    QCOMPARE(QByteArray::fromHex(scalar("SELECT HEX(TraLoiMoPhong) FROM khoathi_thisinh WHERE ID = 5").toByteArray()),
             answers.toUtf8());
    QCOMPARE(scalar("SELECT ChiTietThi FROM khoathi_thisinh WHERE ID = 5").toInt(), 1);

    QVERIFY(killSessions() >= 1);
    std::unique_ptr<QList<Course *>> courses(operatorSide.getAllCourses());
    QCOMPARE(courses->size(), 1);
    qDeleteAll(*courses);
    QCOMPARE(operatorSide.getPrintDetail("C1", "1").getScore(), 40);
}

// A terminal refused for want of connections: the log names the limit to
// raise, not only the driver's text. (The server-wide max_connections is
// not lowered here: the suites share the server. The account's own limit
// is refused the same way.)
void TestMySqlConnectionClient::noConnectionLeftIsNamed()
{
    const QString user = "tst_limit_user";
    const TestDb::Server s = TestDb::server();
    QVERIFY(exec(QString("DROP USER IF EXISTS '%1'@'127.0.0.1'").arg(user)));
    QVERIFY(exec(QString("CREATE USER '%1'@'127.0.0.1' IDENTIFIED BY 'limit-pass' WITH MAX_USER_CONNECTIONS 1")
                     .arg(user)));
    QVERIFY(exec(QString("GRANT SELECT ON %1.* TO '%2'@'127.0.0.1'").arg(m_database, user)));

    MySqlConnectionClient first;
    QCOMPARE(first.initDatabase("limit-1", s.host, s.port, m_database, user, "limit-pass").type(),
             QSqlError::NoError);
    MySqlConnectionClient second;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^MySQL connection limit-2 refused: .*"
                                                          "max_user_connections.*terminal"));
    const QSqlError refused = second.initDatabase("limit-2", s.host, s.port, m_database, user, "limit-pass");
    QVERIFY(refused.isValid());
    QVERIFY2(!MySqlOpener::outOfConnectionsAdvice(refused).isEmpty(), qPrintable(refused.text()));

    // The server's own limit, as the driver reports it.
    const QSqlError serverFull("QMYSQL: Unable to connect", "Too many connections",
                               QSqlError::ConnectionError, "1040");
    QVERIFY(MySqlOpener::outOfConnectionsAdvice(serverFull).contains("max_connections"));
    const QSqlError other("QMYSQL: Unable to connect", "Access denied", QSqlError::ConnectionError, "1045");
    QVERIFY(MySqlOpener::outOfConnectionsAdvice(other).isEmpty());

    first.closeConnection();
    second.closeConnection();
    QVERIFY(exec(QString("DROP USER '%1'@'127.0.0.1'").arg(user)));
}

// --- threads ---------------------------------------------------------------

void TestMySqlConnectionClient::openedOnAnotherThread()
{
    QVERIFY(exec("INSERT INTO khoathi (IDKhoaHoc, TrangThai) VALUES ('C1', 2)"));
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT) VALUES (1, 'A', '9')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, LoaiBang) VALUES "
                 "(3, 'C1', 1, '1', 0, 'C')"));

    // As the listener opens a terminal's connection and the handler-queue
    // thread uses it.
    MySqlConnectionClient client;
    QSqlError opened(QString(), QString("not run"), QSqlError::UnknownError);
    std::unique_ptr<QThread> opener(QThread::create([&] { opened = openConnection(&client, "7"); }));
    opener->start();
    QVERIFY(opener->wait(20000));
    QCOMPARE(opened.type(), QSqlError::NoError);

    const OrderNumberCheck check = client.checkOrderNumber("C1", "1");
    QCOMPARE(check.getStatus(), 0);
    QCOMPARE(check.getID(), 3);
    client.updateContestStart(3, "2024-04-04 08:05:03", 1);
    QCOMPARE(client.getContestantState(3), 1);
    QVERIFY(storeResult(client, "C1", "2024-04-04 08:25:00", 40, "DAT", 3, "x"));
    QCOMPARE(client.checkOrderNumber("C1", "1").getStatus(), 2);
}

void TestMySqlConnectionClient::usedFromTwoThreads()
{
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh, TrangThai, TraLoiMoPhong) VALUES "
                 "(1, 'C1', '1', 2, 'answers')"));
    // The queue thread and the GUI thread (printing) may reach one
    // terminal's connection at the same time: the connection serialises them.
    QAtomicInt wrong;
    auto work = [&] {
        for (int i = 0; i < 200; ++i) {
            if (m_db->getContestantState(1) != 2 || m_db->getTraLoiMoPhong(1) != "answers")
                wrong.ref();
        }
    };
    std::unique_ptr<QThread> a(QThread::create(work));
    std::unique_ptr<QThread> b(QThread::create(work));
    a->start();
    b->start();
    QVERIFY(a->wait(60000));
    QVERIFY(b->wait(60000));
    QCOMPARE(wrong.loadRelaxed(), 0);
}

ORV_TEST_MAIN_CORE(TestMySqlConnectionClient)
#include "tst_mysqlconnectionclient.moc"
