// The candidate table and the search and result filter over it.

#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "tests/support/testmain.h"
#include "models/proxystudentinfomodel.h"
#include "models/studentmodel.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QGuiApplication>
#include <QSignalSpy>

#include <memory>

namespace {
struct RowFields
{
    int id;
    QString name;
    QString orderNumber;
    QString identityNumber;
    QString resultCode;
    int state;
};

StudentInfo *makeRow(const RowFields &fields)
{
    auto *row = new StudentInfo;
    row->setID(fields.id);
    row->setHoTen(fields.name);
    row->setSoBaoDanh(fields.orderNumber);
    row->setSoCMT(fields.identityNumber);
    row->setKetQuaMoPhong(fields.resultCode);
    row->setTrangThai(fields.state);
    row->setDiemMoPhong(-1);
    row->setDiemChuanMoPhong(35);
    return row;
}

// A small room: results of every kind, including a state-0 row that already
// has a result and a row whose code has no label.
StudentInfoList *makeRoom()
{
    const QList<RowFields> room = {
        {1, "Nguyễn Văn An", "007", "001234567890", "DAT", 2},
        {2, "Trần Thị Bình", "12", "079123", "KHONG DAT", 2},
        {3, "Lê Văn Cường", "3", "0451", "", 0},
        {4, "Phạm Minh Dũng", "70", "9876", "VANG", 0},
        {5, "Hoàng Em", "5", "5555", "", 1},
        {6, "Đỗ Phúc", "6", "666", "DAT", 0},
    };
    auto *list = new StudentInfoList;
    for (const RowFields &fields : room)
        list->append(makeRow(fields));
    return list;
}

QList<int> shownIds(const QAbstractItemModel &model)
{
    QList<int> ids;
    for (int row = 0; row < model.rowCount(); ++row)
        ids << model.index(row, StudentModel::ColumnId).data().toInt();
    return ids;
}
} // namespace

class TestStudentModel : public QObject
{
    Q_OBJECT

private slots:
    void everyColumnOfARow();
    void derivedCells_data();
    void derivedCells();
    void rolesAndInvalidIndexes();
    void headers();
    void loadingCoursesReplacesRows();
    void addAndRemoveRows_data();
    void addAndRemoveRows();

    void search_data();
    void search();
    void resultFilter_data();
    void resultFilter();
    void proxyHeadersFollowShownRows();
    void proxyFollowsRowChanges();
};

void TestStudentModel::everyColumnOfARow()
{
    StudentInfoList rows;
    auto *row = new StudentInfo;
    row->setID(42);
    row->setHoTen("Nguyễn Văn An");
    row->setSoBaoDanh("12");
    row->setSoCMT("12345");
    row->setNgaySinh(QDate(2001, 2, 3));
    row->setLoaiBang("B2");
    row->setThoiGianBatDauThi("2026-12-10 08:00:00");
    row->setThoiGianKetThucThi("2026-12-10 08:20:00");
    row->setDiemMoPhong(40);
    row->setDiemChuanMoPhong(35);
    row->setKetQuaMoPhong("DAT");
    row->setGioiTinh("F");
    row->setKetQuaSHLyThuyet("DAT");
    row->setTrangThai(2);
    row->setNoiDungSH("1");
    rows.append(row);

    StudentModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setStudentInfoList(rows.rows());

    const QVariantList expected = {
        42, "Nguyễn Văn An", 12, "12345       ", "2001-02-03", "B2", "2026-12-10 08:00:00",
        "2026-12-10 08:20:00", 40, 35, "Đạt", "F", "DAT", 2, "1",
    };
    QCOMPARE(model.columnCount(), expected.size());
    for (int column = 0; column < expected.size(); ++column) {
        const QVariant cell = model.index(0, column).data(Qt::DisplayRole);
        QVERIFY2(cell == expected.at(column), qPrintable(QString::number(column)));
        QCOMPARE(int(cell.type()), int(expected.at(column).type()));
    }
}

void TestStudentModel::derivedCells_data()
{
    QTest::addColumn<QString>("orderNumber");
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("passMark");
    QTest::addColumn<QString>("resultCode");
    QTest::addColumn<QVariant>("orderCell");
    QTest::addColumn<QVariant>("scoreCell");
    QTest::addColumn<QVariant>("passMarkCell");
    QTest::addColumn<QString>("resultCell");

    QTest::newRow("no score yet") << "7" << -1 << 35 << "" << QVariant(7) << QVariant(QString())
                                  << QVariant(35) << "";
    QTest::newRow("leading zeros") << "007" << 0 << 35 << "KHONG DAT" << QVariant(7) << QVariant(0)
                                   << QVariant(35) << "Không đạt";
    QTest::newRow("not a number") << "A12" << 50 << -1 << "DAT" << QVariant(0) << QVariant(50)
                                  << QVariant(QString()) << "Đạt";
    QTest::newRow("absent code") << "" << -5 << 0 << "VANG" << QVariant(0) << QVariant(QString())
                                 << QVariant(0) << "";
    QTest::newRow("lower-case code") << "3" << 10 << 35 << "dat" << QVariant(3) << QVariant(10)
                                     << QVariant(35) << "";
}

void TestStudentModel::derivedCells()
{
    QFETCH(QString, orderNumber);
    QFETCH(int, score);
    QFETCH(int, passMark);
    QFETCH(QString, resultCode);

    StudentInfoList rows;
    auto *row = new StudentInfo;
    row->setSoBaoDanh(orderNumber);
    row->setDiemMoPhong(score);
    row->setDiemChuanMoPhong(passMark);
    row->setKetQuaMoPhong(resultCode);
    rows.append(row);
    StudentModel model;
    model.setStudentInfoList(rows.rows());

    QTEST(model.index(0, StudentModel::ColumnOrderNumber).data(), "orderCell");
    QTEST(model.index(0, StudentModel::ColumnScore).data(), "scoreCell");
    QTEST(model.index(0, StudentModel::ColumnPassMark).data(), "passMarkCell");
    QTEST(model.index(0, StudentModel::ColumnResult).data().toString(), "resultCell");
}

void TestStudentModel::rolesAndInvalidIndexes()
{
    std::unique_ptr<StudentInfoList> rows(makeRoom());
    StudentModel model;
    model.setStudentInfoList(rows->rows());

    const QVariant font = model.index(0, StudentModel::ColumnResult).data(Qt::FontRole);
    QVERIFY(font.canConvert<QFont>());
    QCOMPARE(font.value<QFont>().weight(), 75);
    for (int column = 0; column < model.columnCount(); ++column) {
        if (column != StudentModel::ColumnResult)
            QVERIFY(!model.index(0, column).data(Qt::FontRole).isValid());
        QVERIFY(!model.index(0, column).data(Qt::EditRole).isValid());
        QVERIFY(!model.index(0, column).data(Qt::ToolTipRole).isValid());
    }
    // The order number as the row holds it, leading zeros kept, behind the
    // number shown; only on its own column.
    QCOMPARE(model.index(0, StudentModel::ColumnOrderNumber).data().toInt(), 7);
    QCOMPARE(model.index(0, StudentModel::ColumnOrderNumber).data(StudentModel::OrderNumberTextRole).toString(),
             QString("007"));
    QVERIFY(!model.index(0, StudentModel::ColumnName).data(StudentModel::OrderNumberTextRole).isValid());
    QVERIFY(!model.data(QModelIndex()).isValid());
    QVERIFY(!model.index(rows->size(), 0).isValid());
    QVERIFY(!model.index(0, StudentModel::ColumnCount).isValid());
}

void TestStudentModel::headers()
{
    StudentModel model;
    const QStringList expected = {
        "ID", "Họ và tên", "Số báo danh", "Định danh cá nhân", "Ngày sinh", "Hạng giấy phép",
        "Thời gian bắt đầu thi", "Thời gian kết thúc thi", "Điểm MP", "Điểm chuẩn MP",
        "Kết quả MP", "Ngày sinh", "Kết quả LT", "Trạng thái", "Nội dung SH",
    };
    for (int section = 0; section < expected.size(); ++section)
        QCOMPARE(model.headerData(section, Qt::Horizontal).toString(), expected.at(section));
    QVERIFY(!model.headerData(15, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::FontRole).isValid());
    QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QString("1"));
    QCOMPARE(model.headerData(9, Qt::Vertical).toString(), QString("10"));
    QVERIFY(!model.headerData(0, Qt::Vertical, Qt::ToolTipRole).isValid());
}

// The controller hands the model the new course's rows and then deletes the
// old list: the model must not show (or free) any of the old rows.
void TestStudentModel::loadingCoursesReplacesRows()
{
    StudentModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    auto *first = makeRoom();
    model.setStudentInfoList(first->rows());
    QCOMPARE(removed.count(), 0);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 5);

    auto *second = new StudentInfoList;
    second->append(makeRow({21, "Vũ Hà", "1", "1", "", 0}));
    second->append(makeRow({22, "Ngô Lan", "2", "2", "", 0}));
    model.setStudentInfoList(second->rows());
    delete first;
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(2).toInt(), 5);
    QCOMPARE(shownIds(model), (QList<int>{21, 22}));

    // Loading the same course again, then a course without candidates.
    model.setStudentInfoList(second->rows());
    QCOMPARE(shownIds(model), (QList<int>{21, 22}));
    model.setStudentInfoList({});
    delete second;
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(inserted.count(), 3);
}

void TestStudentModel::addAndRemoveRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QList<int>>("remaining");

    const QList<int> all = {1, 2, 3, 4, 5, 6};
    QTest::newRow("first") << 0 << 1 << true << QList<int>{2, 3, 4, 5, 6};
    QTest::newRow("two in the middle") << 2 << 2 << true << QList<int>{1, 2, 5, 6};
    QTest::newRow("last") << 5 << 1 << true << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("all") << 0 << 6 << true << QList<int>{};
    QTest::newRow("count 0") << 2 << 0 << false << all;
    QTest::newRow("negative row") << -1 << 1 << false << all;
    QTest::newRow("past the end") << 5 << 2 << false << all;
    QTest::newRow("row count") << 6 << 1 << false << all;
}

void TestStudentModel::addAndRemoveRows()
{
    QFETCH(int, row);
    QFETCH(int, count);

    // Rows stay owned by the list: removing them from the table frees nothing
    // (the sanitizer build catches a double delete when the list goes).
    std::unique_ptr<StudentInfoList> rows(makeRoom());
    StudentModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (StudentInfo *info : rows->rows())
        QVERIFY(model.addStudentInfo(info));
    QVERIFY(!model.addStudentInfo(nullptr));
    QCOMPARE(shownIds(model), (QList<int>{1, 2, 3, 4, 5, 6}));

    QTEST(model.removeRows(row, count), "removed");
    QTEST(shownIds(model), "remaining");
    QCOMPARE(rows->size(), 6);
}

void TestStudentModel::search_data()
{
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("shown");

    const QList<int> all = {1, 2, 3, 4, 5, 6};
    QTest::newRow("empty") << "" << "" << all;
    QTest::newRow("name, any case") << "" << "NGUYỄN" << QList<int>{1};
    QTest::newRow("order number as shown") << "" << "7" << QList<int>{1, 2, 4};
    QTest::newRow("leading zeros are not shown") << "" << "007" << QList<int>{};
    QTest::newRow("identity number") << "" << "0451" << QList<int>{3};
    QTest::newRow("dot is any character") << "" << "v.n" << QList<int>{1, 3};
    QTest::newRow("invalid pattern") << "" << "(" << QList<int>{};
    QTest::newRow("blanks clear the search") << "bình" << "   " << all;
    QTest::newRow("new text replaces old") << "bình" << "phúc" << QList<int>{6};
}

void TestStudentModel::search()
{
    QFETCH(QString, previous);
    QFETCH(QString, text);

    std::unique_ptr<StudentInfoList> rows(makeRoom());
    StudentModel model;
    model.setStudentInfoList(rows->rows());
    ProxyStudentInfoModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&model);

    if (!previous.isEmpty())
        proxy.search_data_by_string(previous);
    proxy.search_data_by_string(text);
    QTEST(shownIds(proxy), "shown");
}

void TestStudentModel::resultFilter_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("shown");

    const QList<int> all = {1, 2, 3, 4, 5, 6};
    QTest::newRow("all") << "" << 0 << all;
    QTest::newRow("passed") << "" << 1 << QList<int>{1, 6};
    QTest::newRow("failed") << "" << 2 << QList<int>{2};
    QTest::newRow("absent or not examined") << "" << 3 << QList<int>{3, 4};
    QTest::newRow("under examination") << "" << 4 << QList<int>{5};
    QTest::newRow("index past the list") << "" << 5 << all;
    QTest::newRow("no index") << "" << -1 << all;
    QTest::newRow("with a search") << "v.n" << 3 << QList<int>{3};
    QTest::newRow("search and filter exclude") << "bình" << 1 << QList<int>{};
}

void TestStudentModel::resultFilter()
{
    QFETCH(QString, search);
    QFETCH(int, index);

    std::unique_ptr<StudentInfoList> rows(makeRoom());
    StudentModel model;
    model.setStudentInfoList(rows->rows());
    ProxyStudentInfoModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&model);

    // A previous choice must not linger.
    proxy.filterByStudentTypeIndex(2);
    proxy.search_data_by_string(search);
    proxy.filterByStudentTypeIndex(index);
    QTEST(shownIds(proxy), "shown");
}

void TestStudentModel::proxyHeadersFollowShownRows()
{
    std::unique_ptr<StudentInfoList> rows(makeRoom());
    StudentModel model;
    model.setStudentInfoList(rows->rows());
    ProxyStudentInfoModel proxy;
    QVERIFY(!proxy.headerData(0, Qt::Horizontal).isValid());
    proxy.setSourceModel(&model);

    proxy.filterByStudentTypeIndex(4);
    QCOMPARE(proxy.rowCount(), 1);
    QCOMPARE(proxy.headerData(2, Qt::Horizontal).toString(), QString("Số báo danh"));
    QCOMPARE(proxy.headerData(0, Qt::Vertical).toString(), QString("1"));
}

// Terminal events change a row in place and announce it; the filtered table
// follows without being re-filtered by hand.
void TestStudentModel::proxyFollowsRowChanges()
{
    std::unique_ptr<StudentInfoList> rows(makeRoom());
    StudentModel model;
    QAbstractItemModelTester modelTester(&model,
                                         QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setStudentInfoList(rows->rows());
    ProxyStudentInfoModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&model);
    proxy.filterByStudentTypeIndex(4);
    QCOMPARE(shownIds(proxy), (QList<int>{5}));

    const int started = rows->setStartTimeById(3, "2026-12-10 08:00:00");
    emit model.dataChanged(model.index(started, 0), model.index(started, model.columnCount() - 1));
    QCOMPARE(shownIds(proxy), (QList<int>{3, 5}));

    const int finished = rows->setResultById(40, 35, "DAT", 5, "2026-12-10 08:20:00");
    emit model.dataChanged(model.index(finished, 0), model.index(finished, model.columnCount() - 1));
    QCOMPARE(shownIds(proxy), (QList<int>{3}));
    QCOMPARE(model.index(finished, StudentModel::ColumnResult).data().toString(), QString("Đạt"));
    QCOMPARE(model.index(finished, StudentModel::ColumnScore).data(), QVariant(40));

    proxy.filterByStudentTypeIndex(1);
    QCOMPARE(shownIds(proxy), (QList<int>{1, 5, 6}));
}

ORV_TEST_MAIN_GUI(TestStudentModel)
#include "tst_studentmodel.moc"
