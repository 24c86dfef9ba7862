// The operator's connection to the main database: opening it, courses,
// provinces, units and accounts, against a real MariaDB.

#include "common/constants.h"
#include "connection/mysqlconnection.h"
#include "records/account.h"
#include "tests/support/maindbsuite.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testmain.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <memory>

namespace {
const QString kDatabase = "tst_mysqlconnection";
}

class TestMySqlConnection : public MainDbSuite
{
    Q_OBJECT

public:
    TestMySqlConnection() : MainDbSuite(kDatabase) {}

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void initDatabase_data();
    void initDatabase();

    void createReadUpdateCourse();
    void insertKhoaThiStoresPreparedImport();
    void isCourseExist();
    void recentCoursesReachBackSixMonths();
    void startableAndRunningCourses();
    void deleteCourse_data();
    void deleteCourse();
    void courseReportSummaryCounts();
    void courseReportSummaryOfUnknownCourse();

    void provinces();
    void deleteProvinceWhileUsed();
    void unitsTakeTheirProvinceFromTheObject();
    void unitWithoutProvinceIsRefused();
    void getAllUnitsAttachesProvinces();
    void deleteUnitWhileUsed();

    void accountIsReadByPosition();

private:
    void addCourse(const QString &id, const QString &state, const QString &date = "2024-01-10",
                   const QString &unit = "DV1");

    std::unique_ptr<MySqlConnection> m_db;
};

void TestMySqlConnection::initTestCase()
{
    QString error;
    QVERIFY2(createMainDb(&error), qPrintable(error));
    m_db.reset(new MySqlConnection);
    const QSqlError opened = openConnection(m_db.get(), "contest");
    QVERIFY2(opened.type() == QSqlError::NoError, qPrintable(opened.text()));
}

void TestMySqlConnection::init()
{
    QVERIFY(clearMainDb());
}

void TestMySqlConnection::cleanupTestCase()
{
    m_db.reset();
    closeMainDb();
}

void TestMySqlConnection::addCourse(const QString &id, const QString &state, const QString &date,
                                    const QString &unit)
{
    QVERIFY(TestDb::exec(m_admin, QString("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, "
                                          "TrangThai) VALUES ('%1', 'Khóa %1', '%4', '%3', %2)")
                                      .arg(id, state, date, unit)));
}

// --- connection ------------------------------------------------------------

void TestMySqlConnection::initDatabase_data()
{
    QTest::addColumn<bool>("closedPort");
    QTest::addColumn<bool>("wrongPassword");
    QTest::addColumn<bool>("opens");
    QTest::newRow("test server") << false << false << true;
    QTest::newRow("closed port") << true << false << false;
    QTest::newRow("wrong password") << false << true << false;
}

void TestMySqlConnection::initDatabase()
{
    QFETCH(bool, closedPort);
    QFETCH(bool, wrongPassword);
    QFETCH(bool, opens);

    const TestDb::Server s = TestDb::server();
    MySqlConnection connection;
    QElapsedTimer timer;
    timer.start();
    // Port 1 on loopback: nothing listens there, the attempt is refused.
    const QSqlError error =
        connection.initDatabase(QString("probe_%1").arg(QTest::currentDataTag()), s.host, closedPort ? 1 : s.port, kDatabase, s.user,
                                wrongPassword ? s.password + "x" : s.password);
    if (opens) {
        QCOMPARE(error.type(), QSqlError::NoError);
        QVERIFY(error.driverText().isEmpty());
        QVERIFY(error.databaseText().isEmpty());
        QVERIFY(error.nativeErrorCode().isEmpty());
        // A server that stops answering counts as unreachable after 30 s.
        QCOMPARE(QSqlDatabase::database("probe_test server", false).connectOptions(),
                 QString("MYSQL_OPT_CONNECT_TIMEOUT=10;MYSQL_OPT_READ_TIMEOUT=30;MYSQL_OPT_WRITE_TIMEOUT=30"));
    } else {
        QCOMPARE(error.type(), QSqlError::ConnectionError);
        QVERIFY(!error.databaseText().isEmpty());
        QVERIFY(!error.nativeErrorCode().isEmpty());
        // A refused port fails at once, not after the connect timeout.
        QVERIFY(timer.elapsed() < 5000);
    }
}

// --- courses ---------------------------------------------------------------

void TestMySqlConnection::createReadUpdateCourse()
{
    Course course;
    course.setIDKhoaHoc("K01");
    course.setTenKhoaHoc("Khóa sát hạch tháng 3");
    course.setIDDonVi("DV1");
    course.setNgayThi(QDate(2024, 3, 5));
    course.setNamHoc(2024);
    course.setTrangThai(1);
    course.setHoiDong("Hội đồng 1");
    course.setTrungTam("Trung tâm A");
    course.setGhiChu("/photos/k01");
    bool duplicate = true;
    QVERIFY(m_db->createCourse(&course, &duplicate));
    QVERIFY(!duplicate);
    // A duplicate key is refused by the table, and said to be the cause.
    QVERIFY(!m_db->createCourse(&course, &duplicate));
    QVERIFY(duplicate);
    // Any other refusal is not taken for one: a name longer than its column.
    Course tooLong = course;
    tooLong.setIDKhoaHoc("K02");
    tooLong.setTenKhoaHoc(QString(256, QChar('x')));
    QVERIFY(!m_db->createCourse(&tooLong, &duplicate));
    QVERIFY(!duplicate);

    QVERIFY(TestDb::exec(m_admin, "UPDATE khoathi SET Thi = 7"));
    Course read = m_db->getCourse("K01");
    QCOMPARE(read.getIDKhoaHoc(), QString("K01"));
    QCOMPARE(read.getTenKhoaHoc(), QString("Khóa sát hạch tháng 3"));
    QCOMPARE(read.getIDDonVi(), QString("DV1"));
    QCOMPARE(read.getNgayThi(), QDate(2024, 3, 5));
    QCOMPARE(read.getNamHoc(), 2024);
    QCOMPARE(read.getThi(), 7);
    QCOMPARE(read.getTrangThai(), 1);
    QCOMPARE(read.getHoiDong(), QString("Hội đồng 1"));
    QCOMPARE(read.getTrungTam(), QString("Trung tâm A"));
    QCOMPARE(read.getGhiChu(), QString("/photos/k01"));
    QVERIFY(read.getNgayImport().isNull());

    course.setTenKhoaHoc("Đổi tên");
    course.setIDDonVi("DV2");
    course.setNgayThi(QDate(2024, 4, 1));
    course.setHoiDong("HĐ2");
    course.setTrungTam("TT2");
    course.setNamHoc(2025);
    course.setTrangThai(2);
    course.setGhiChu("ghi chú");
    QVERIFY(m_db->updateCourse(&course));
    read = m_db->getCourse("K01");
    QCOMPARE(read.getTenKhoaHoc(), QString("Đổi tên"));
    QCOMPARE(read.getIDDonVi(), QString("DV2"));
    QCOMPARE(read.getNgayThi(), QDate(2024, 4, 1));
    QCOMPARE(read.getHoiDong(), QString("HĐ2"));
    QCOMPARE(read.getTrungTam(), QString("TT2"));
    QCOMPARE(read.getNamHoc(), 2025);
    QCOMPARE(read.getTrangThai(), 2);
    QCOMPARE(read.getGhiChu(), QString("ghi chú"));

    // An update that matches nothing still executed.
    Course missing;
    missing.setIDKhoaHoc("NONE");
    QVERIFY(m_db->updateCourse(&missing));

    addCourse("K00", "3", "2023-12-31");
    addCourse("K02", "NULL", "2024-06-30");
    std::unique_ptr<QList<Course *>> all(m_db->getAllCourses());
    QStringList order;
    for (Course *c : *all)
        order << c->getIDKhoaHoc();
    QCOMPARE(order, QStringList({"K02", "K01", "K00"}));
    QCOMPARE(all->at(1)->getGhiChu(), QString("ghi chú"));
    QCOMPARE(all->at(1)->getNamHoc(), 2025);
    QCOMPARE(all->at(0)->getNgayThi(), QDate(2024, 6, 30));
    qDeleteAll(*all);

    // No course: empty texts and a null date.
    read = m_db->getCourse("NONE");
    QVERIFY(read.getIDKhoaHoc().isEmpty());
    QVERIFY(read.getNgayThi().isNull());
}

void TestMySqlConnection::insertKhoaThiStoresPreparedImport()
{
    Course course;
    course.setIDKhoaHoc("IMP1");
    course.setTenKhoaHoc("Nhập");
    course.setIDDonVi("DV1");
    course.setNgayThi(QDate(2024, 3, 5));
    course.setNgayImport(QDate(2024, 3, 1));
    course.setHoiDong("HĐ");
    course.setTrungTam("TT");
    course.setGhiChu("/anh");
    course.setTrangThai(3);
    course.setNamHoc(1999);
    QVERIFY(m_db->insertKhoaThi(course));
    QVERIFY(!m_db->insertKhoaThi(course));

    const Course read = m_db->getCourse("IMP1");
    QCOMPARE(read.getTrangThai(), 1);
    QCOMPARE(read.getNgayThi(), QDate(2024, 3, 5));
    QCOMPARE(read.getNgayImport(), QDate(2024, 3, 1));
    QCOMPARE(read.getGhiChu(), QString("/anh"));
    QCOMPARE(read.getHoiDong(), QString("HĐ"));
    QCOMPARE(read.getTrungTam(), QString("TT"));
    QCOMPARE(read.getTenKhoaHoc(), QString("Nhập"));
    QVERIFY(scalar("SELECT NamHoc FROM khoathi").isNull());

    // The dialog's date form and the import's give the same stored date.
    Course dialog;
    dialog.setIDKhoaHoc("DLG1");
    dialog.setNgayThi(QDate(2024, 3, 5));
    QVERIFY(m_db->createCourse(&dialog));
    QCOMPARE(count("SELECT COUNT(DISTINCT NgayThi) FROM khoathi"), 1);
}

void TestMySqlConnection::isCourseExist()
{
    addCourse("K1", "1");
    QVERIFY(m_db->isCourseExist("K1"));
    QVERIFY(!m_db->isCourseExist("K2"));
    QVERIFY(!m_db->isCourseExist(QString()));
}

void TestMySqlConnection::recentCoursesReachBackSixMonths()
{
    const QDate today = QDate::currentDate();
    addCourse("TODAY", "1", today.toString("yyyy-MM-dd"));
    addCourse("EDGE", "2", today.addMonths(-6).toString("yyyy-MM-dd"));
    addCourse("OLD", "1", today.addMonths(-6).addDays(-1).toString("yyyy-MM-dd"));
    addCourse("MID", "NULL", today.addMonths(-3).toString("yyyy-MM-dd"));

    const QList<Course *> recent = m_db->getRecentCourses();
    QStringList codes;
    for (Course *c : recent)
        codes << c->getIDKhoaHoc();
    QCOMPARE(codes, QStringList({"TODAY", "MID", "EDGE"}));
    QCOMPARE(recent.at(0)->getNgayThi(), today);
    QCOMPARE(recent.at(2)->getTrangThai(), 2);
    QCOMPARE(recent.at(1)->getTenKhoaHoc(), QString("Khóa MID"));
    qDeleteAll(recent);
}

void TestMySqlConnection::startableAndRunningCourses()
{
    addCourse("S0", "0");
    addCourse("S1", "1");
    addCourse("S2", "2");
    addCourse("S3", "3");
    addCourse("SN", "NULL");
    addCourse("S2B", "2");

    QStringList startable;
    for (const Course &c : m_db->getStartableCourses()) {
        startable << c.getIDKhoaHoc();
        QCOMPARE(c.getTenKhoaHoc(), "Khóa " + c.getIDKhoaHoc());
        QVERIFY(c.getIDDonVi().isNull());
    }
    startable.sort();
    QCOMPARE(startable, QStringList({"S1", "S2", "S2B", "SN"}));

    QStringList running;
    for (const Course &c : m_db->getCoursesByState()) {
        running << c.getIDKhoaHoc();
        QCOMPARE(c.getTenKhoaHoc(), "Khóa " + c.getIDKhoaHoc());
    }
    running.sort();
    QCOMPARE(running, QStringList({"S2", "S2B"}));
}

void TestMySqlConnection::deleteCourse_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("being examined") << "2" << "DEL" << -1 << MSG_COURSE_IN_EXAM;
    QTest::newRow("prepared") << "1" << "DEL" << 0 << QString();
    QTest::newRow("examined") << "3" << "DEL" << 0 << QString();
    QTest::newRow("no state") << "NULL" << "DEL" << 0 << QString();
    QTest::newRow("unknown course") << "2" << "NONE" << 0 << QString();
}

void TestMySqlConnection::deleteCourse()
{
    QFETCH(QString, state);
    QFETCH(QString, target);
    QFETCH(int, code);
    QFETCH(QString, message);

    addCourse("DEL", state);
    addCourse("KEEP", "1");
    QVERIFY(TestDb::exec(m_admin, "INSERT INTO thisinh (IDThiSinh, HoTen) VALUES (1, 'A'), (2, 'B')"));
    QVERIFY(TestDb::exec(m_admin, "INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh) VALUES "
                                  "('DEL', 1, '1'), ('DEL', 2, '2'), ('KEEP', 1, '1')"));

    const SqlResultInfo result = m_db->deleteCourse(target);
    QCOMPARE(result.getCode(), code);
    QCOMPARE(result.getMessage(), message);
    QCOMPARE(result.getSuccess(), false);
    QCOMPARE(result.getId(), -1);

    const bool deleted = code == 0 && target == "DEL";
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi WHERE IDKhoaHoc = 'DEL'"), deleted ? 0 : 1);
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = 'DEL'"), deleted ? 0 : 2);
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = 'KEEP'"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi WHERE IDKhoaHoc = 'KEEP'"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM thisinh"), 2);
}

void TestMySqlConnection::courseReportSummaryCounts()
{
    QVERIFY(ProvinceUnitRows::insert(m_admin, {{"T1", "Sở GTVT Hà Nội"}}, {{"DV1", "T1", "Trung tâm Sát hạch 1"}}));
    addCourse("K1", "2", "2024-05-20");
    addCourse("K2", "2");
    // States NULL, 0, 0, 1, 2 x5 and an unknown 3; results in the spellings
    // terminals and imports have left behind.
    QVERIFY(TestDb::exec(m_admin,
                         "INSERT INTO khoathi_thisinh (IDKhoaHoc, SoBaoDanh, TrangThai, KetQuaMoPhong) VALUES "
                         "('K1', '1', NULL, NULL), ('K1', '2', 0, ''), ('K1', '3', 0, 'VANG'), "
                         "('K1', '4', 1, NULL), ('K1', '5', 2, 'DAT'), ('K1', '6', 2, 'ĐẠT'), "
                         "('K1', '7', 2, ' dat '), ('K1', '8', 2, 'KHONG DAT'), "
                         "('K1', '9', 2, 'khÔng đạt'), ('K1', '10', 3, 'Khong Dat'), "
                         "('K2', '1', 2, 'DAT'), ('K2', '2', 0, NULL)"));

    const CourseReportSummary s = m_db->getCourseReportSummary("K1");
    QCOMPARE(s.getNotContest(), 3);
    QCOMPARE(s.getContest(), 1);
    QCOMPARE(s.getContested(), 5);
    QCOMPARE(s.getTotal(), 9);
    QCOMPARE(s.getPass(), 3);
    QCOMPARE(s.getNotPass(), 3);
    QCOMPARE(s.getProvinceName(), QString("Sở GTVT Hà Nội"));
    QCOMPARE(s.getUnitName(), QString("Trung tâm Sát hạch 1"));
    QCOMPARE(s.getIdKhoaHoc(), QString("K1"));
    QCOMPARE(s.getCourseName(), QString("Khóa K1"));
    QCOMPARE(s.getContestDate(), QDate(2024, 5, 20));
}

void TestMySqlConnection::courseReportSummaryOfUnknownCourse()
{
    const CourseReportSummary s = m_db->getCourseReportSummary("NONE");
    QCOMPARE(s.getTotal(), 0);
    QCOMPARE(s.getPass(), 0);
    QVERIFY(s.getProvinceName().isEmpty());
    QVERIFY(s.getUnitName().isEmpty());
    QVERIFY(s.getCourseName().isEmpty());
    QVERIFY(s.getContestDate().isNull());
    QCOMPARE(s.getIdKhoaHoc(), QString("NONE"));
}

// --- provinces and units ---------------------------------------------------

void TestMySqlConnection::provinces()
{
    Province p;
    p.setIDTinh("T1");
    p.setTenTinh("Hà Nội");
    QVERIFY(m_db->createProvince(p));
    QVERIFY(!m_db->createProvince(p));
    p.setIDTinh("T2");
    p.setTenTinh("Huế");
    QVERIFY(m_db->insertProvince(p));
    QVERIFY(!m_db->insertProvince(p));

    p.setTenTinh("Thừa Thiên Huế");
    QVERIFY(m_db->updateProvince(p));
    QCOMPARE(m_db->getProvince("T2").getTenTinh(), QString("Thừa Thiên Huế"));
    QCOMPARE(m_db->getProvince("T1").getIDTinh(), QString("T1"));
    QVERIFY(m_db->getProvince("T9").getIDTinh().isEmpty());
    QVERIFY(m_db->getProvince("T9").getTenTinh().isEmpty());

    std::unique_ptr<QList<Province *>> all(m_db->getAllProvinces());
    QStringList names;
    for (Province *province : *all)
        names << province->getIDTinh() + "=" + province->getTenTinh();
    names.sort();
    QCOMPARE(names, QStringList({"T1=Hà Nội", "T2=Thừa Thiên Huế"}));
    qDeleteAll(*all);
}

void TestMySqlConnection::deleteProvinceWhileUsed()
{
    QVERIFY(ProvinceUnitRows::insert(m_admin, {{"T1", "A"}, {"T2", "B"}}, {{"DV1", "T1", "U"}}));

    SqlResultInfo result = m_db->deleteProvince("T1");
    QCOMPARE(result.getCode(), -1);
    QCOMPARE(result.getMessage(), QString("Tồn tại đơn vị sử dụng tỉnh"));
    QCOMPARE(count("SELECT COUNT(*) FROM tinh"), 2);

    QCOMPARE(m_db->deleteUnit("DV1").getCode(), 0);
    result = m_db->deleteProvince("T1");
    QCOMPARE(result.getCode(), 0);
    QVERIFY(result.getMessage().isEmpty());
    QCOMPARE(result.getSuccess(), false);
    QCOMPARE(count("SELECT COUNT(*) FROM tinh WHERE IDTinh = 'T1'"), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM tinh"), 1);
}

void TestMySqlConnection::unitsTakeTheirProvinceFromTheObject()
{
    Province hanoi;
    hanoi.setIDTinh("T1");
    Province hue;
    hue.setIDTinh("T2");

    Unit unit;
    unit.setIDDonVi("DV1");
    unit.setTenDonVi("Trung tâm 1");
    unit.setIDTinh("OLD");
    unit.setProvince(&hanoi);
    QVERIFY(m_db->createUnit(&unit));
    QVERIFY(!m_db->createUnit(&unit));
    Unit read = m_db->getUnit("DV1");
    QCOMPARE(read.getIDTinh(), QString("T1"));
    QCOMPARE(read.getTenDonVi(), QString("Trung tâm 1"));
    QCOMPARE(read.getIDDonVi(), QString("DV1"));
    QVERIFY(!read.getProvince());

    // Moving a unit writes the Province object's code, not the stale field.
    unit.setProvince(&hue);
    unit.setTenDonVi("Trung tâm 1 mới");
    QVERIFY(m_db->updateUnit(&unit));
    read = m_db->getUnit("DV1");
    QCOMPARE(read.getIDTinh(), QString("T2"));
    QCOMPARE(read.getTenDonVi(), QString("Trung tâm 1 mới"));

    // The import keeps the unit's own province code.
    Unit imported;
    imported.setIDDonVi("DV2");
    imported.setIDTinh("T9");
    imported.setTenDonVi("Nhập");
    imported.setProvince(&hanoi);
    QVERIFY(m_db->insertUnit(imported));
    QVERIFY(!m_db->insertUnit(imported));
    QCOMPARE(m_db->getUnit("DV2").getIDTinh(), QString("T9"));
    QVERIFY(m_db->getUnit("NONE").getIDDonVi().isEmpty());
}

void TestMySqlConnection::unitWithoutProvinceIsRefused()
{
    Unit unit;
    unit.setIDDonVi("DV1");
    unit.setIDTinh("T1");
    QVERIFY(!m_db->createUnit(&unit));
    QVERIFY(!m_db->updateUnit(&unit));
    QVERIFY(!m_db->createUnit(nullptr));
    QCOMPARE(count("SELECT COUNT(*) FROM donvi"), 0);
}

void TestMySqlConnection::getAllUnitsAttachesProvinces()
{
    QVERIFY(ProvinceUnitRows::insert(m_admin, {{"T1", "Hà Nội"}},
                                     {{"DV1", "T1", "Một"}, {"DV2", "T9", "Hai"}, {"DV3", "T1", "Ba"}}));
    std::unique_ptr<QList<Unit *>> units(m_db->getAllUnits());
    QCOMPARE(units->size(), 3);
    for (Unit *unit : *units) {
        if (unit->getIDDonVi() == "DV2") {
            QVERIFY(!unit->getProvince());
            QCOMPARE(unit->getTenDonVi(), QString("Hai"));
        } else {
            QVERIFY(unit->getProvince());
            QCOMPARE(unit->getProvince()->getIDTinh(), QString("T1"));
            QCOMPARE(unit->getProvince()->getTenTinh(), QString("Hà Nội"));
            QCOMPARE(unit->getIDTinh(), QString("T1"));
        }
        delete unit->getProvince();
        delete unit;
    }
}

void TestMySqlConnection::deleteUnitWhileUsed()
{
    QVERIFY(ProvinceUnitRows::insert(m_admin, {}, {{"DV1", "T1", "A"}, {"DV2", "T1", "B"}}));
    addCourse("K1", "3", "2024-01-01", "DV1");

    SqlResultInfo result = m_db->deleteUnit("DV1");
    QCOMPARE(result.getCode(), -1);
    QCOMPARE(result.getMessage(), QString("Tồn tại khóa học sử dụng đơn vị"));
    QCOMPARE(count("SELECT COUNT(*) FROM donvi"), 2);

    result = m_db->deleteUnit("DV2");
    QCOMPARE(result.getCode(), 0);
    QVERIFY(result.getMessage().isEmpty());
    QCOMPARE(count("SELECT COUNT(*) FROM donvi"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi"), 1);
}

// --- accounts --------------------------------------------------------------

void TestMySqlConnection::accountIsReadByPosition()
{
    // Only the key's name is fixed: columns 2 to 4 go by position.
    QVERIFY(TestDb::exec(m_admin, "DROP TABLE taikhoan"));
    QVERIFY(TestDb::exec(m_admin, "CREATE TABLE taikhoan (IDTaiKhoan VARCHAR(64) NOT NULL PRIMARY KEY, "
                                  "c_name VARCHAR(64), c_role INT, c_digest VARCHAR(64), extra INT) "
                                  "DEFAULT CHARSET=utf8mb4"));
    QVERIFY(TestDb::exec(m_admin, "INSERT INTO taikhoan VALUES ('admin', 'Quản trị', 2, "
                                  "'21232f297a57a5a743894a0e4a801fc3', 9), ('root', 'Siêu', 3, 'abc', 1)"));

    std::unique_ptr<Account> admin(m_db->getAccount("admin"));
    QVERIFY(admin);
    QCOMPARE(admin->getIDTaiKhoan(), QString("admin"));
    QCOMPARE(admin->getRole(), 2);
    QCOMPARE(admin->getPassword(), QString("21232f297a57a5a743894a0e4a801fc3"));
    std::unique_ptr<Account> root(m_db->getAccount("root"));
    QVERIFY(root);
    QCOMPARE(root->getRole(), 3);
    QVERIFY(!m_db->getAccount("nobody"));

    // Back to the shipped table for the other cases.
    QVERIFY(TestDb::exec(m_admin, "DROP TABLE taikhoan"));
    QVERIFY(TestDb::exec(m_admin, "CREATE TABLE taikhoan (IDTaiKhoan VARCHAR(64) NOT NULL, HoTen "
                                  "VARCHAR(255) NULL, Quyen INT NULL, MatKhau VARCHAR(64) NULL, PRIMARY "
                                  "KEY (IDTaiKhoan)) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 "
                                  "COLLATE=utf8mb4_unicode_ci"));
}

ORV_TEST_MAIN_CORE(TestMySqlConnection)
#include "tst_mysqlconnection.moc"
