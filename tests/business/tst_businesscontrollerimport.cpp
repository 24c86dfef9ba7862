// Courses brought in from the theory-test database through the operator
// side's business object: what reaches the main database, and that the
// cached course, province and unit lists show each new one once. Then the
// theory-result refresh and the operator's view of it. Last, names holding
// control characters (U+0001, a line break): stored with spaces, and shown
// with spaces by the two XML forms (which xmllint accepts) and the sheet's
// QR text, from a stored row that still holds one too.

#include "records/course.h"
#include "records/province.h"
#include "connection/mysqlconnection.h"
#include "records/reportinfo.h"
#include "records/unit.h"
#include "reports/print/sheetintegrity.h"
#include "server/business/businesscontroller.h"
#include "server/network/iocontroller.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/workfolder.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

template <typename T, typename Key>
int countOf(const QList<T *> &list, Key key, const QString &value)
{
    int n = 0;
    for (const T *item : list) {
        if ((item->*key)() == value)
            ++n;
    }
    return n;
}

} // namespace

class TestBusinessControllerImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void importTwice();
    void theoryRefresh_data();
    void theoryRefresh();
    void controlCharactersInNames();

private:
    void mainSql(const QString &s) { QVERIFY2(TestDb::exec(m_folder->mainAdmin(), s), qPrintable(s)); }
    void auxSql(const QString &s) { QVERIFY2(TestDb::exec(m_folder->auxAdmin(), s), qPrintable(s)); }
    QString rowCounts();
    int courseIndex(const QString &id);

    std::unique_ptr<WorkFolder> m_folder;
    BusinessController *m_controller = nullptr;
};

QString TestBusinessControllerImport::rowCounts()
{
    QStringList counts;
    for (const char *table : {"khoathi", "thisinh", "khoathi_thisinh", "tinh", "donvi"})
        counts << QString::number(TestDb::count(m_folder->mainAdmin(),
                                                QString("SELECT COUNT(*) FROM %1").arg(table)));
    return counts.join(' ');
}

int TestBusinessControllerImport::courseIndex(const QString &id)
{
    QList<Course *> *courses = m_controller->getAllCourses();
    for (int i = 0; i < courses->size(); ++i) {
        if (courses->at(i)->getIDKhoaHoc() == id)
            return i;
    }
    return -1;
}

void TestBusinessControllerImport::initTestCase()
{
    m_folder.reset(new WorkFolder("bizimp"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));

    // A course of the main database that was there before.
    mainSql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, NgayThi, TrangThai) VALUES"
            " ('K0', 'Khóa Cũ', CURDATE() - INTERVAL 1 DAY, 1)");

    QVERIFY(ProvinceUnitRows::insert(m_folder->auxAdmin(), {{"AT1", "Tỉnh Nhập"}}, {{"AU1", "AT1", "Trung tâm Nhập"}}));
    auxSql("INSERT INTO khoahoc (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, Thi, HoiDong, TrungTam,"
           " TrangThai) VALUES ('AK1', 'Khóa Nhập', 'AU1', CURDATE(), 2024, 1, 'Hội đồng', 'Sân', 1)");
    const QStringList names = {"Vũ Văn Một", "Hồ Thị Hai", "Lý Văn Ba"};
    for (int n = 1; n <= 3; ++n) {
        auxSql(QString("INSERT INTO thisinh (IDThiSinh, IDKhoaHoc, Ma_Dang_Ky, Ma_Ky_SH, HoTen, GioiTinh,"
                       " NgaySinh, SoCMT, noidungSH) VALUES (%1, 'AK1', 'DK%1', 'KY1', '%2', 'Nam',"
                       " '1990-01-0%1', '10000000000%1', '1')")
                   .arg(n)
                   .arg(names.at(n - 1)));
        auxSql(QString("INSERT INTO khoahoc_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, Diem_Chuan)"
                       " VALUES ('AK1', %1, '%1', 'B2', 21)")
                   .arg(n));
    }

    m_controller = BusinessController::getInstance();
    QCOMPARE(m_controller->isDbConnectionFailed(), 0);
}

void TestBusinessControllerImport::cleanupTestCase()
{
    IOController::destroyInstance();
}

void TestBusinessControllerImport::importTwice()
{
    QSignalSpy provinces(m_controller, &BusinessController::notifyImportProvinceFromDb);
    QSignalSpy units(m_controller, &BusinessController::notifyImportUnitFromDb);
    QSignalSpy courses(m_controller, &BusinessController::notifyImportCourseFromDb);

    // No list has been asked for yet: the import must not list what it
    // inserts twice (once read, once appended).
    QCOMPARE(m_controller->importCourseFromAuxiliaryDb("AK1"), qMakePair(3, 3));
    QCOMPARE(rowCounts(), QString("2 3 3 1 1"));
    QCOMPARE(provinces.count(), 1);
    QCOMPARE(units.count(), 1);
    QCOMPARE(courses.count(), 1);

    for (int round = 0; round < 2; ++round) {
        const QList<Province *> provinceList = *m_controller->getAllProvinces();
        const QList<Unit *> unitList = *m_controller->getAllUnits();
        const QList<Course *> courseList = *m_controller->getAllCourses();
        QCOMPARE(provinceList.size(), 1);
        QCOMPARE(countOf(provinceList, &Province::getIDTinh, "AT1"), 1);
        QCOMPARE(unitList.size(), 1);
        QCOMPARE(countOf(unitList, &Unit::getIDDonVi, "AU1"), 1);
        QVERIFY(unitList.first()->getProvince());
        QCOMPARE(unitList.first()->getProvince()->getTenTinh(), QString("Tỉnh Nhập"));
        QCOMPARE(courseList.size(), 2);
        QCOMPARE(countOf(courseList, &Course::getIDKhoaHoc, "AK1"), 1);
        QCOMPARE(courseList.at(courseIndex("AK1"))->getTrangThai(), 1);

        if (round == 0) {
            // Again: the course is there, nothing more is written or listed.
            QCOMPARE(m_controller->importCourseFromAuxiliaryDb("AK1"), qMakePair(-1, 3));
            QCOMPARE(rowCounts(), QString("2 3 3 1 1"));
            QCOMPARE(provinces.count(), 1);
            QCOMPARE(units.count(), 1);
            QCOMPARE(courses.count(), 1);
        }
    }
}

void TestBusinessControllerImport::theoryRefresh_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("orderNumber");
    QTest::addColumn<bool>("announced");
    QTest::newRow("current course examined") << "AK1" << "1" << true;
    QTest::newRow("another course selected") << "K0" << "2" << false;
    QTest::newRow("no course selected") << QString() << "3" << false;
}

void TestBusinessControllerImport::theoryRefresh()
{
    QFETCH(QString, current);
    QFETCH(QString, orderNumber);
    QFETCH(bool, announced);
    mainSql("UPDATE khoathi SET TrangThai = 2 WHERE IDKhoaHoc = 'AK1'");
    auxSql(QString("UPDATE khoahoc_thisinh SET KetQua = 'DAT' WHERE SoBaoDanh = '%1'").arg(orderNumber));
    m_controller->getAllCourses();
    m_controller->setCurrentCourse(current.isEmpty() ? -1 : courseIndex(current));

    QSignalSpy shown(m_controller, &BusinessController::notifyUpdateResultTheoryInUI);
    QCOMPARE(m_controller->updateResultOfFriendDB(), 1);
    QCOMPARE(TestDb::count(m_folder->mainAdmin(),
                           QString("SELECT COUNT(*) FROM khoathi_thisinh WHERE SoBaoDanh = '%1' AND"
                                   " KetQuaSHLyThuyet = 'DAT'")
                               .arg(orderNumber)),
             1);
    QCOMPARE(shown.count(), announced ? 1 : 0);
    if (announced)
        QCOMPARE(shown.at(0).at(0).toString(), QString("AK1"));
    // Nothing left to copy.
    QCOMPARE(m_controller->updateResultOfFriendDB(), 0);
}

void TestBusinessControllerImport::controlCharactersInNames()
{
    auxSql("INSERT INTO khoahoc (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, Thi, HoiDong, TrungTam,"
           " TrangThai) VALUES ('AK2', 'Khóa Hai', 'AU1', CURDATE(), 2024, 1, 'Hội đồng', 'Sân', 1)");
    const QStringList names = {QString("Vũ\x01Văn Bốn"), QString("Hồ Thị\nNăm")};
    for (int n = 4; n <= 5; ++n) {
        auxSql(QString("INSERT INTO thisinh (IDThiSinh, IDKhoaHoc, Ma_Dang_Ky, Ma_Ky_SH, HoTen, GioiTinh,"
                       " NgaySinh, SoCMT, noidungSH) VALUES (%1, 'AK2', 'DK%1', 'KY1', '%2', 'Nam',"
                       " '1990-01-0%1', '10000000000%1', '1')")
                   .arg(n)
                   .arg(names.at(n - 4)));
        auxSql(QString("INSERT INTO khoahoc_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, Diem_Chuan)"
                       " VALUES ('AK2', %1, '%1', 'B2', 21)")
                   .arg(n));
    }
    for (const char *order : {"4", "5"})
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QString("DataImporter::importCourse stores the control characters in the"
                                                " name of candidate \"AK2 %1\" as spaces")
                                            .arg(order)));
    QCOMPARE(m_controller->importCourseFromAuxiliaryDb("AK2"), qMakePair(2, 2));
    QCOMPARE(TestDb::count(m_folder->mainAdmin(),
                           "SELECT COUNT(*) FROM thisinh WHERE HoTen IN ('Vũ Văn Bốn', 'Hồ Thị Năm')"),
             2);

    // A row stored before names were cleaned keeps its bytes.
    mainSql("UPDATE thisinh SET HoTen = CONCAT('Đỗ', CHAR(1 USING utf8mb4), 'Văn', CHAR(10 USING utf8mb4), 'Sáu') WHERE HoTen = 'Vũ Văn Bốn'");
    QCOMPARE(TestDb::count(m_folder->mainAdmin(), "SELECT COUNT(*) FROM thisinh WHERE HoTen LIKE 'Đỗ_Văn_Sáu'"), 1);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const bool second : {false, true}) {
        bool failed = true;
        const QDomDocument form =
            second ? m_controller->exportKQSHMPXml("AK2", &failed) : m_controller->exportXml("AK2", &failed);
        QVERIFY(!failed);
        const QByteArray bytes = form.toByteArray(1);
        QVERIFY(bytes.contains("Đỗ Văn Sáu") && bytes.contains("Hồ Thị Năm"));
        const QString file = folder.filePath(second ? "AK2_KQSHMP.xml" : "AK2.xml");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        out.close();
        QProcess lint;
        lint.setProcessChannelMode(QProcess::MergedChannels);
        lint.start("xmllint", {"--noout", file});
        QVERIFY2(lint.waitForFinished(60000), "xmllint (libxml2-utils) is needed");
        QVERIFY2(lint.exitStatus() == QProcess::NormalExit && lint.exitCode() == 0, lint.readAll().constData());
    }

    // The sheet's QR lines: name, then the date of birth on line 2.
    for (const char *order : {"4", "5"}) {
        const ReportInfo info = m_controller->getMySqlConnection()->getPrintDetail("AK2", order);
        const QStringList lines = resultSheetQrText(info).split('\n');
        QVERIFY(lines.size() > 8);
        QCOMPARE(lines.at(0), QString(*order == '4' ? "Đỗ Văn Sáu" : "Hồ Thị Năm"));
        QCOMPARE(lines.at(1), QString("0%1.01.1990").arg(order));
        QCOMPARE(lines.at(7), QString("SBD: ") + order);
    }
}

ORV_TEST_MAIN_GUI(TestBusinessControllerImport)
#include "tst_businesscontrollerimport.moc"
