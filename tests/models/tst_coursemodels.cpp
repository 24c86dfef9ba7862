// The course, council and training-unit tables over the business
// controller's shared lists, and the list of running courses.

#include "records/course.h"
#include "records/province.h"
#include "records/unit.h"
#include "tests/support/testmain.h"
#include "models/courseentry.h"
#include "models/coursemodel.h"
#include "models/provincemodel.h"
#include "models/startingcoursemodel.h"
#include "models/unitmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <memory>

namespace {
constexpr auto QtTestMode = QAbstractItemModelTester::FailureReportingMode::QtTest;

Course makeCourse(const QString &id, int state = 1)
{
    Course course;
    course.setIDKhoaHoc(id);
    course.setTenKhoaHoc("Khóa " + id);
    course.setTrangThai(state);
    return course;
}

// Stands in for the business controller's cache: owns whatever the model has
// not deleted.
template <typename Record>
struct SharedList
{
    QList<Record *> list;
    ~SharedList() { qDeleteAll(list); }
};

SharedList<Course> *makeCourses(int count)
{
    auto *courses = new SharedList<Course>;
    for (int i = 0; i < count; ++i)
        courses->list.append(new Course(makeCourse(QString("K%1").arg(i))));
    return courses;
}

QStringList courseIds(const QList<Course *> &list)
{
    QStringList ids;
    for (const Course *course : list)
        ids << course->getIDKhoaHoc();
    return ids;
}

QStringList shownColumn(const QAbstractItemModel &model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

QStringList horizontalHeaders(const QAbstractItemModel &model)
{
    QStringList texts;
    for (int section = 0; section < model.columnCount(); ++section)
        texts << model.headerData(section, Qt::Horizontal).toString();
    return texts;
}
} // namespace

class TestCourseModels : public QObject
{
    Q_OBJECT

private slots:
    void headers();
    void courseCells();
    void provinceAndUnitCells();
    void addCopiesTheEditedFields();
    void removeRows_data();
    void removeRows();
    void removingAUnitKeepsItsProvince();
    void insertRowAtEnd_data();
    void insertRowAtEnd();
    void everyListModelAnnouncesImports();
    void replacingTheList();
    void refillingTheListInPlace();

    void startingCourseNames_data();
    void startingCourseNames();
    void startingCoursesAddAndClear();
};

void TestCourseModels::headers()
{
    CourseModel courses;
    ProvinceModel provinces;
    UnitModel units;
    StartingCourseModel starting;

    QCOMPARE(horizontalHeaders(courses),
             (QStringList{"Đơn vị đào tạo", "Mã khóa", "Tên khóa", "Ngày thi", "Năm học", "Trạng thái"}));
    QCOMPARE(horizontalHeaders(provinces), (QStringList{"Mã", "Hội đồng SH"}));
    QCOMPARE(horizontalHeaders(units), (QStringList{"Mã đơn vị", "Tên đơn vị", "Sở giao thông"}));
    QCOMPARE(starting.columnCount(), 1);

    for (const QAbstractItemModel *model :
         std::initializer_list<const QAbstractItemModel *>{&courses, &provinces, &units, &starting}) {
        QVERIFY(!model->headerData(0, Qt::Vertical).isValid());
        QVERIFY(!model->headerData(0, Qt::Horizontal, Qt::FontRole).isValid());
        QVERIFY(!model->headerData(model->columnCount(), Qt::Horizontal).isValid());
    }
    QVERIFY(!starting.headerData(0, Qt::Horizontal).isValid());
}

void TestCourseModels::courseCells()
{
    SharedList<Course> shared;
    auto *course = new Course;
    course->setTrungTam("Trung tâm Bắc");
    course->setIDKhoaHoc("K01");
    course->setTenKhoaHoc("Khóa B2 tháng 12");
    course->setNgayThi(QDate(2026, 12, 9));
    course->setNamHoc(2026);
    course->setTrangThai(2);
    shared.list.append(course);
    auto *undated = new Course;
    undated->setTrangThai(0);
    shared.list.append(undated);

    CourseModel model;
    model.setCourseList(&shared.list);
    QCOMPARE(model.rowCount(), 2);
    const QVariantList expected = {"Trung tâm Bắc", "K01", "Khóa B2 tháng 12",
                                   "09/12/2026",    2026,  "Đang thi"};
    for (int column = 0; column < expected.size(); ++column)
        QCOMPARE(model.index(0, column).data(), expected.at(column));
    QCOMPARE(model.index(1, 3).data().toString(), QString());
    QCOMPARE(model.index(1, 5).data().toString(), QString("Chưa thi"));
    QVERIFY(!model.index(0, 1).data(Qt::EditRole).isValid());
    QVERIFY(!model.data(QModelIndex()).isValid());
}

void TestCourseModels::provinceAndUnitCells()
{
    SharedList<Province> provinces;
    auto *hanoi = new Province;
    hanoi->setIDTinh("29");
    hanoi->setTenTinh("Sở GTVT Hà Nội");
    provinces.list.append(hanoi);

    SharedList<Unit> units;
    auto *withProvince = new Unit;
    withProvince->setIDDonVi("DV1");
    withProvince->setTenDonVi("Trường lái số 1");
    withProvince->setProvince(hanoi);
    units.list.append(withProvince);
    // The unit read leaves the province null when it is not in the table.
    auto *orphan = new Unit;
    orphan->setIDDonVi("DV2");
    orphan->setTenDonVi("Trường lái số 2");
    orphan->setIDTinh("99");
    units.list.append(orphan);

    ProvinceModel provinceModel;
    provinceModel.setProvinceList(&provinces.list);
    QCOMPARE(provinceModel.index(0, 0).data().toString(), QString("29"));
    QCOMPARE(provinceModel.index(0, 1).data().toString(), QString("Sở GTVT Hà Nội"));

    UnitModel unitModel;
    QAbstractItemModelTester tester(&unitModel, QtTestMode);
    unitModel.setUnitList(&units.list);
    QCOMPARE(shownColumn(unitModel, 0), (QStringList{"DV1", "DV2"}));
    QCOMPARE(shownColumn(unitModel, 1), (QStringList{"Trường lái số 1", "Trường lái số 2"}));
    QCOMPARE(shownColumn(unitModel, 2), (QStringList{"Sở GTVT Hà Nội", ""}));
}

void TestCourseModels::addCopiesTheEditedFields()
{
    std::unique_ptr<SharedList<Course>> shared(makeCourses(2));
    CourseModel model;
    QAbstractItemModelTester tester(&model, QtTestMode);
    QVERIFY(!model.addCourse(makeCourse("K9")));

    model.setCourseList(&shared->list);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    Course course = makeCourse("K9", 2);
    course.setNgayThi(QDate(2026, 12, 10));
    course.setNamHoc(2026);
    course.setHoiDong("HĐ 1");
    course.setIDDonVi("DV1");
    course.setTrungTam("Trung tâm");
    course.setGhiChu("anh/K9");
    course.setThi(1);
    course.setNgayImport(QDate(2026, 12, 1));
    QVERIFY(model.addCourse(course));

    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 2);
    QCOMPARE(inserted.at(0).at(2).toInt(), 2);
    QCOMPARE(shared->list.size(), 3);
    const Course *added = shared->list.last();
    QVERIFY(added != &course);
    QCOMPARE(added->getIDKhoaHoc(), QString("K9"));
    QCOMPARE(added->getTenKhoaHoc(), QString("Khóa K9"));
    QCOMPARE(added->getNgayThi(), QDate(2026, 12, 10));
    QCOMPARE(added->getNamHoc(), 2026);
    QCOMPARE(added->getTrangThai(), 2);
    QCOMPARE(added->getHoiDong(), QString("HĐ 1"));
    QCOMPARE(added->getIDDonVi(), QString("DV1"));
    QCOMPARE(added->getTrungTam(), QString("Trung tâm"));
    QCOMPARE(added->getGhiChu(), QString("anh/K9"));
    QCOMPARE(added->getThi(), 0);
    QVERIFY(added->getNgayImport().isNull());
    QCOMPARE(model.index(2, 1).data().toString(), QString("K9"));
}

void TestCourseModels::removeRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QStringList>("remaining");

    const QStringList all = {"K0", "K1", "K2", "K3", "K4", "K5"};
    QTest::newRow("two at row 3") << 3 << 2 << true << QStringList{"K0", "K1", "K2", "K5"};
    QTest::newRow("first") << 0 << 1 << true << QStringList{"K1", "K2", "K3", "K4", "K5"};
    QTest::newRow("last") << 5 << 1 << true << QStringList{"K0", "K1", "K2", "K3", "K4"};
    QTest::newRow("all") << 0 << 6 << true << QStringList{};
    QTest::newRow("count 0") << 3 << 0 << false << all;
    QTest::newRow("negative row") << -1 << 1 << false << all;
    QTest::newRow("past the end") << 5 << 2 << false << all;
    QTest::newRow("row count") << 6 << 1 << false << all;
}

// The removed records are deleted (the sanitizer build reports them as leaks
// otherwise) and leave the shared list.
void TestCourseModels::removeRows()
{
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(bool, removed);

    std::unique_ptr<SharedList<Course>> shared(makeCourses(6));
    CourseModel model;
    QAbstractItemModelTester tester(&model, QtTestMode);
    model.setCourseList(&shared->list);
    QSignalSpy removedSpy(&model, &QAbstractItemModel::rowsRemoved);

    QCOMPARE(model.removeRows(row, count), removed);
    QTEST(courseIds(shared->list), "remaining");
    QTEST(shownColumn(model, 1), "remaining");
    QCOMPARE(removedSpy.count(), removed ? 1 : 0);
    if (removed) {
        QCOMPARE(removedSpy.at(0).at(1).toInt(), row);
        QCOMPARE(removedSpy.at(0).at(2).toInt(), row + count - 1);
    }
}

void TestCourseModels::removingAUnitKeepsItsProvince()
{
    SharedList<Province> provinces;
    provinces.list.append(new Province);
    provinces.list.first()->setTenTinh("Sở GTVT Huế");
    SharedList<Unit> units;
    units.list.append(new Unit);
    units.list.first()->setProvince(provinces.list.first());

    UnitModel model;
    QAbstractItemModelTester tester(&model, QtTestMode);
    model.setUnitList(&units.list);
    Unit unit;
    unit.setIDDonVi("DV7");
    unit.setTenDonVi("Trường lái số 7");
    unit.setIDTinh("75");
    unit.setProvince(provinces.list.first());
    QVERIFY(model.addUnit(unit));
    QCOMPARE(units.list.last()->getProvince(), provinces.list.first());
    QCOMPARE(model.index(1, 2).data().toString(), QString("Sở GTVT Huế"));

    QVERIFY(model.removeRows(0, 2));
    QVERIFY(units.list.isEmpty());
    QCOMPARE(provinces.list.first()->getTenTinh(), QString("Sở GTVT Huế"));
}

void TestCourseModels::insertRowAtEnd_data()
{
    QTest::addColumn<int>("appendedBeforeShowing");
    QTest::addColumn<int>("appendedAfterShowing");
    QTest::addColumn<int>("announced");

    QTest::newRow("import after the table was shown") << 0 << 1 << 1;
    // The slot loads the table first; the new record is already in it.
    QTest::newRow("import before the table was shown") << 1 << 0 << 0;
    QTest::newRow("two records, one notice") << 0 << 2 << 2;
    QTest::newRow("nothing new") << 0 << 0 << 0;
}

// An import appends to the shared list and then tells the model: the table
// must end up with exactly one row per record, never a row past the list.
void TestCourseModels::insertRowAtEnd()
{
    QFETCH(int, appendedBeforeShowing);
    QFETCH(int, appendedAfterShowing);
    QFETCH(int, announced);

    std::unique_ptr<SharedList<Course>> shared(makeCourses(3));
    CourseModel model;
    QAbstractItemModelTester tester(&model, QtTestMode);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    for (int i = 0; i < appendedBeforeShowing; ++i)
        shared->list.append(new Course(makeCourse(QString("N%1").arg(i))));
    model.setCourseList(&shared->list);
    for (int i = 0; i < appendedAfterShowing; ++i)
        shared->list.append(new Course(makeCourse(QString("M%1").arg(i))));
    QVERIFY(model.insertRowAtEnd(QModelIndex()));

    QCOMPARE(model.rowCount(), shared->list.size());
    QCOMPARE(shownColumn(model, 1), courseIds(shared->list));
    if (announced == 0) {
        QCOMPARE(inserted.count(), 0);
    } else {
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 3);
        QCOMPARE(inserted.at(0).at(2).toInt(), 3 + announced - 1);
    }

    // The last row, once a phantom, can be changed and deleted.
    QVERIFY(model.removeRows(model.rowCount() - 1, 1));
    QCOMPARE(model.rowCount(), shared->list.size());
}

void TestCourseModels::everyListModelAnnouncesImports()
{
    SharedList<Province> provinces;
    SharedList<Unit> units;
    ProvinceModel provinceModel;
    UnitModel unitModel;
    QAbstractItemModelTester provinceTester(&provinceModel, QtTestMode);
    QAbstractItemModelTester unitTester(&unitModel, QtTestMode);
    QVERIFY(!provinceModel.insertRowAtEnd());

    provinceModel.setProvinceList(&provinces.list);
    unitModel.setUnitList(&units.list);
    provinces.list.append(new Province);
    provinces.list.last()->setIDTinh("43");
    units.list.append(new Unit);
    units.list.last()->setIDDonVi("DV3");
    QVERIFY(provinceModel.insertRowAtEnd());
    QVERIFY(unitModel.insertRowAtEnd());
    QCOMPARE(shownColumn(provinceModel, 0), QStringList{"43"});
    QCOMPARE(shownColumn(unitModel, 0), QStringList{"DV3"});

    Province province;
    province.setIDTinh("48");
    province.setTenTinh("Sở GTVT Đà Nẵng");
    QVERIFY(provinceModel.addProvince(province));
    QCOMPARE(shownColumn(provinceModel, 1), (QStringList{"", "Sở GTVT Đà Nẵng"}));
    QVERIFY(provinceModel.removeRows(0, 1));
    QCOMPARE(shownColumn(provinceModel, 0), QStringList{"48"});
}

// After a course import the controller replaces its course list; a model that
// a view already shows must drop the old records, and a list that shrank
// under it must not leave rows past its end.
void TestCourseModels::replacingTheList()
{
    std::unique_ptr<SharedList<Course>> old(makeCourses(4));
    CourseModel model;
    QAbstractItemModelTester tester(&model, QtTestMode);
    model.setCourseList(&old->list);
    QCOMPARE(model.rowCount(), 4);

    std::unique_ptr<SharedList<Course>> fresh(makeCourses(2));
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setCourseList(&fresh->list);
    old.reset();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(shownColumn(model, 1), (QStringList{"K0", "K1"}));

    delete fresh->list.takeLast();
    QVERIFY(model.insertRowAtEnd());
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(model.addCourse(makeCourse("K7")));
    QCOMPARE(shownColumn(model, 1), (QStringList{"K0", "K7"}));
}

// The controller's refresh deletes the listed courses and fills the same list
// with fresh ones: the views must let go of every old record first.
void TestCourseModels::refillingTheListInPlace()
{
    std::unique_ptr<SharedList<Course>> courses(makeCourses(3));
    CourseModel model;
    QAbstractItemModelTester tester(&model, QtTestMode);
    model.setCourseList(&courses->list);
    QSignalSpy aboutToReset(&model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    model.beginRefresh();
    QCOMPARE(aboutToReset.count(), 1);
    qDeleteAll(courses->list);
    courses->list.clear();
    for (const QString id : {"N1", "N2", "N3", "N4", "N5"})
        courses->list.append(new Course(makeCourse(id)));
    model.endRefresh();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(shownColumn(model, 1), (QStringList{"N1", "N2", "N3", "N4", "N5"}));
    // Nothing is left unannounced for a later import notice.
    QVERIFY(model.insertRowAtEnd());
    QCOMPARE(model.rowCount(), 5);
}

void TestCourseModels::startingCourseNames_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");

    QTest::newRow("before the list") << -1 << "-1" << "-1";
    QTest::newRow("first") << 0 << "Khóa K0" << "K0";
    QTest::newRow("last") << 1 << "Khóa K1" << "K1";
    QTest::newRow("row count") << 2 << "-1" << "-1";
}

void TestCourseModels::startingCourseNames()
{
    QFETCH(int, row);

    StartingCourseModel model;
    QAbstractItemModelTester tester(&model, QtTestMode);
    model.setCourseList({makeCourse("K0", 2), makeCourse("K1", 2)});
    QTEST(model.getCourseNameAt(row), "name");
    QTEST(model.getCourseCodeAt(row), "code");
    if (row < 0 || row >= model.rowCount())
        return;
    // The code tells apart courses of one name; the whole entry is the
    // tooltip, the name alone its own role.
    const QModelIndex index = model.index(row, 0);
    const QString entry = QString("K%1 – Khóa K%1").arg(row);
    QCOMPARE(index.data().toString(), entry);
    QCOMPARE(index.data(Qt::ToolTipRole).toString(), entry);
    QTEST(index.data(CourseEntry::NameRole).toString(), "name");
}

void TestCourseModels::startingCoursesAddAndClear()
{
    StartingCourseModel model;
    QAbstractItemModelTester tester(&model, QtTestMode);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

    QVERIFY(!model.clear());
    QVERIFY(!model.addCourses({}));
    QVERIFY(model.addCourses({makeCourse("K0"), makeCourse("K1")}));
    QVERIFY(model.addCourses({makeCourse("K2"), makeCourse("K3"), makeCourse("K4")}));
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(inserted.at(1).at(1).toInt(), 2);
    QCOMPARE(inserted.at(1).at(2).toInt(), 4);
    QCOMPARE(shownColumn(model, 0),
             (QStringList{"K0 – Khóa K0", "K1 – Khóa K1", "K2 – Khóa K2", "K3 – Khóa K3", "K4 – Khóa K4"}));
    QVERIFY(!model.removeRows(0, 1));
    QCOMPARE(model.rowCount(), 5);

    QVERIFY(model.clear());
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(2).toInt(), 4);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.getCourseNameAt(0), QString("-1"));
}

ORV_TEST_MAIN_CORE(TestCourseModels)
#include "tst_coursemodels.moc"
