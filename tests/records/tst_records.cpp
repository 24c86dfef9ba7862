// Record defaults that the database writes and the terminals depend on, and
// the candidate rows the operator's table and the terminal handlers change.

#include "records/course.h"
#include "records/courseinfo.h"
#include "records/crudstudentinfo.h"
#include "records/khoathithisinh.h"
#include "records/province.h"
#include "records/reportinfo.h"
#include "records/sqlresultinfo.h"
#include "records/student.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "records/unit.h"
#include "tests/support/testmain.h"

#include <type_traits>

static_assert(!std::is_copy_constructible<StudentInfoList>::value, "rows would be deleted twice");
static_assert(!std::is_copy_assignable<StudentInfoList>::value, "rows would be deleted twice");
static_assert(!std::is_copy_constructible<CourseInfo>::value, "the list would be deleted twice");
static_assert(std::is_move_constructible<CourseInfo>::value, "returned by value");

namespace {

StudentInfo *makeRow(int id, const QString &name)
{
    auto *row = new StudentInfo;
    row->setID(id);
    row->setHoTen(name);
    row->setSoBaoDanh(QString::number(100 + id));
    return row;
}

// Three rows with the ids 7, 3 and 9, in that order.
void fill(StudentInfoList &list)
{
    list.append(makeRow(7, "An"));
    list.append(makeRow(3, "Bình"));
    list.append(makeRow(9, "Chi"));
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void newRecordDefaults();
    void copiesAreMemberwise();
    void soCmtPadsNeverCuts_data();
    void soCmtPadsNeverCuts();
    void findById_data();
    void findById();
    void setResultById();
    void setStartTimeById();
    void unknownIdChangesNothing();
    void resetResultAt();
    void updateInfoAt();
    void removeAt();
    void listMovesKeepRows();
    void courseInfoOwnsItsList();
};

void TestRecords::newRecordDefaults()
{
    // Imports insert fields they never set: every number must start defined.
    const KhoaThiThiSinh entry;
    QCOMPARE(entry.getDiemMoPhong(), -1);
    QCOMPARE(entry.getDiemChuanMoPhong(), 35);
    QCOMPARE(entry.getTrangThai(), 0);
    QCOMPARE(entry.getID(), 0);
    QCOMPARE(entry.getIDThiSinh(), 0);
    QCOMPARE(entry.getTraLoiDung(), 0);
    QCOMPARE(entry.getDiemChuan(), 0);
    QVERIFY(entry.getKetQuaMoPhong().isEmpty());
    QVERIFY(entry.getCheckSumKQMP().isEmpty());
    QVERIFY(entry.getThoiGianBatDauThi().isNull());

    const ReportInfo report;
    QCOMPARE(report.getProvinceName(), QString("DOVRENA"));
    QVERIFY(report.getName().isEmpty());
    QCOMPARE(report.getScore(), 0);
    QCOMPARE(report.getResultValid(), false);
    QCOMPARE(report.getAttemptCount(), 0);

    const SqlResultInfo result;
    QCOMPARE(result.getSuccess(), false);
    QCOMPARE(result.getId(), -1);
    QCOMPARE(result.getCode(), -1);
    QVERIFY(result.getMessage().isEmpty());

    const Course course;
    QCOMPARE(course.getTrangThai(), 0);
    QCOMPARE(course.getNamHoc(), 0);
    QVERIFY(course.getNgayThi().isNull());

    const Student student;
    QCOMPARE(student.getIDThiSinh(), 0);
    QCOMPARE(student.getSoTT(), 0);

    const StudentInfo row;
    QCOMPARE(row.getID(), 0);
    QCOMPARE(row.getDiemMoPhong(), 0);
    QCOMPARE(row.getDiemChuanMoPhong(), 0);
    QCOMPARE(row.getTrangThai(), 0);

    const Unit unit;
    QVERIFY(unit.getProvince() == nullptr);
}

void TestRecords::copiesAreMemberwise()
{
    Course course;
    course.setIDKhoaHoc("K01");
    course.setNgayThi(QDate(2024, 5, 17));
    course.setTrangThai(2);
    course.setGhiChu("/photos/K01");
    Course copy = course;
    QCOMPARE(copy.getIDKhoaHoc(), QString("K01"));
    QCOMPARE(copy.getNgayThi(), QDate(2024, 5, 17));
    QCOMPARE(copy.getTrangThai(), 2);
    QCOMPARE(copy.getGhiChu(), QString("/photos/K01"));

    // A unit's copy shares the province, which neither owns.
    Province province;
    Unit unit;
    unit.setProvince(&province);
    const Unit unitCopy = unit;
    QCOMPARE(unitCopy.getProvince(), &province);
}

void TestRecords::soCmtPadsNeverCuts_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("stored");
    QTest::newRow("short") << "12345" << "12345       ";
    QTest::newRow("empty") << "" << "            ";
    QTest::newRow("eleven") << "01234567890" << "01234567890 ";
    QTest::newRow("twelve") << "012345678901" << "012345678901";
    QTest::newRow("thirteen, not cut") << "0123456789012" << "0123456789012";
    QTest::newRow("trailing blank kept") << "123 " << "123         ";
}

void TestRecords::soCmtPadsNeverCuts()
{
    QFETCH(QString, given);
    QFETCH(QString, stored);
    StudentInfo row;
    row.setSoCMT(given);
    QCOMPARE(row.getSoCMT(), stored);
    QCOMPARE(row.getSoCMT().size(), qMax(12, given.size()));
}

void TestRecords::findById_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("first") << 7 << 0 << "An";
    QTest::newRow("middle") << 3 << 1 << "Bình";
    QTest::newRow("last") << 9 << 2 << "Chi";
    QTest::newRow("absent") << 4 << 0 << QString();
    QTest::newRow("absent zero") << 0 << 0 << QString();
}

void TestRecords::findById()
{
    QFETCH(int, id);
    QFETCH(int, index);
    QFETCH(QString, name);
    StudentInfoList list;
    fill(list);

    const QPair<int, StudentInfo *> found = list.findIndexById(id);
    QCOMPARE(found.first, index);
    if (name.isNull()) {
        QVERIFY(found.second == nullptr);
        QVERIFY(list.findById(id) == nullptr);
    } else {
        QVERIFY(found.second != nullptr);
        QCOMPARE(found.second->getHoTen(), name);
        QCOMPARE(list.findById(id), found.second);
        QCOMPARE(list.at(index), found.second);
    }
}

void TestRecords::setResultById()
{
    StudentInfoList list;
    fill(list);
    QCOMPARE(list.setResultById(31, 35, "KHONG DAT", 9, "2024-05-17 09:41:07"), 2);
    const StudentInfo *row = list.at(2);
    QCOMPARE(row->getDiemMoPhong(), 31);
    QCOMPARE(row->getDiemChuanMoPhong(), 35);
    QCOMPARE(row->getKetQuaMoPhong(), QString("KHONG DAT"));
    QCOMPARE(row->getThoiGianKetThucThi(), QString("2024-05-17 09:41:07"));
    QCOMPARE(row->getTrangThai(), 2);
    // The other rows are untouched.
    QCOMPARE(list.at(0)->getTrangThai(), 0);
    QCOMPARE(list.at(1)->getDiemMoPhong(), 0);
}

void TestRecords::setStartTimeById()
{
    StudentInfoList list;
    fill(list);
    QCOMPARE(list.setStartTimeById(3, "2024-05-17 09:30:00"), 1);
    QCOMPARE(list.at(1)->getThoiGianBatDauThi(), QString("2024-05-17 09:30:00"));
    QCOMPARE(list.at(1)->getTrangThai(), 1);
    QVERIFY(list.at(0)->getThoiGianBatDauThi().isEmpty());
}

void TestRecords::unknownIdChangesNothing()
{
    StudentInfoList list;
    fill(list);
    QCOMPARE(list.setResultById(40, 35, "DAT", 5, "2024-05-17 09:41:07"), -1);
    QCOMPARE(list.setStartTimeById(5, "2024-05-17 09:30:00"), -1);
    for (const StudentInfo *row : list.rows()) {
        QCOMPARE(row->getTrangThai(), 0);
        QCOMPARE(row->getDiemMoPhong(), 0);
        QVERIFY(row->getKetQuaMoPhong().isEmpty());
        QVERIFY(row->getThoiGianBatDauThi().isEmpty());
        QVERIFY(row->getThoiGianKetThucThi().isEmpty());
    }
    QCOMPARE(list.size(), 3);
}

void TestRecords::resetResultAt()
{
    StudentInfoList list;
    fill(list);
    list.setStartTimeById(7, "2024-05-17 09:30:00");
    list.setResultById(40, 32, "DAT", 7, "2024-05-17 09:41:07");

    list.resetResultAt(0);
    const StudentInfo *row = list.at(0);
    QCOMPARE(row->getDiemMoPhong(), -1);
    QCOMPARE(row->getDiemChuanMoPhong(), 35);
    QVERIFY(row->getKetQuaMoPhong().isEmpty());
    QVERIFY(row->getThoiGianBatDauThi().isEmpty());
    QVERIFY(row->getThoiGianKetThucThi().isEmpty());
    QCOMPARE(row->getTrangThai(), 0);
    QCOMPARE(row->getHoTen(), QString("An"));
}

void TestRecords::updateInfoAt()
{
    StudentInfoList list;
    fill(list);
    CRUDStudentInfo info;
    info.setHoTen("Đặng Văn Dũng");
    info.setNgaySinh(QDate(1990, 2, 28));
    info.setSoBaoDanh("205");
    info.setLoaiBang("B2");
    info.setGioiTinh("M");
    info.setSoCMT("0791");
    info.setNoiDungSH("3");

    list.updateInfoAt(1, info);
    const StudentInfo *row = list.at(1);
    QCOMPARE(row->getHoTen(), QString("Đặng Văn Dũng"));
    QCOMPARE(row->getNgaySinh(), QDate(1990, 2, 28));
    QCOMPARE(row->getSoBaoDanh(), QString("205"));
    QCOMPARE(row->getLoaiBang(), QString("B2"));
    QCOMPARE(row->getGioiTinh(), QString("M"));
    QCOMPARE(row->getSoCMT(), QString("0791        "));
    QCOMPARE(row->getID(), 3);
    QCOMPARE(list.at(0)->getHoTen(), QString("An"));
}

void TestRecords::removeAt()
{
    StudentInfoList list;
    fill(list);
    list.removeAt(1);
    QCOMPARE(list.size(), 2);
    QVERIFY(list.findById(3) == nullptr);
    QCOMPARE(list.findIndexById(9).first, 1);
    list.removeAt(5); // out of range: nothing happens
    QCOMPARE(list.size(), 2);
}

void TestRecords::listMovesKeepRows()
{
    StudentInfoList list;
    fill(list);
    StudentInfo *first = list.at(0);
    StudentInfoList moved(std::move(list));
    QCOMPARE(moved.size(), 3);
    QCOMPARE(moved.at(0), first);
    QCOMPARE(moved.findById(9)->getHoTen(), QString("Chi"));
}

void TestRecords::courseInfoOwnsItsList()
{
    // Under the leak checker, a row not deleted with its course fails here.
    auto *list = new StudentInfoList;
    fill(*list);
    CourseReportSummary summary;
    summary.setIdKhoaHoc("K01");
    summary.setTotal(3);

    CourseInfo info;
    info.setStudentList(list);
    info.setSummary(summary);
    QCOMPARE(info.getSummary().getIdKhoaHoc(), QString("K01"));
    QCOMPARE(info.getSummary().getTotal(), 3);

    CourseInfo moved(std::move(info));
    QCOMPARE(moved.getStudentList(), list);
    QVERIFY(info.getStudentList() == nullptr);

    const CourseInfo fresh;
    QVERIFY(fresh.getStudentList() == nullptr);
    QCOMPARE(fresh.getSummary().getProvinceName(), QString("Sở Giao Thông Vận Tải"));
    QCOMPARE(fresh.getSummary().getContestDate(), QDate::currentDate());
}

ORV_TEST_MAIN_CORE(TestRecords)
#include "tst_records.moc"
