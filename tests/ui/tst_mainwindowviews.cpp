// The main window's course and candidate views over the private MariaDB:
// the course combo, the running courses, the grid of order numbers of the
// candidates in the room, the six counters, the candidate table's columns,
// search and filter through the real widgets, and the double click on a
// running course. One window per process.

#include "models/courseentry.h"
#include "models/studentmodel.h"
#include "server/business/businesscontroller.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/typetext.h"
#include "tests/support/workfolder.h"
#include "ui/mainwindow.h"
#include "ui/managecoursedialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>

#include <algorithm>
#include <memory>

namespace {

using Grid = QList<QStringList>;

} // namespace

class TestMainWindowViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void courseCombo();
    void runningCoursesAndRoomGrid();
    void counters_data();
    void counters();
    void placeholderEmptiesTableAndCounters();
    void tableColumns_data();
    void tableColumns();
    void searchAndFilter_data();
    void searchAndFilter();
    void gridFollowsTheRoom();
    void doubleClickOnRunningCourse();
    void runningCourseFoundByCode();

private:
    template <typename T>
    T *widget(const char *name) const
    {
        T *w = m_window->findChild<T *>(name);
        if (!w)
            qWarning("no widget %s", name);
        return w;
    }
    void sql(const QString &statement)
    {
        QVERIFY2(TestDb::exec(m_folder->mainAdmin(), statement), qPrintable(statement.left(100)));
    }
    void selectCourse(const QString &name);
    // The buttons of the grid, row by row, each row left to right.
    Grid grid() const;
    // The names in the running-course list, top to bottom.
    QStringList runningCourses() const;
    QStringList counterTexts() const;
    // Order numbers of the rows the table shows, top to bottom.
    QStringList shownOrderNumbers() const;

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindowViews::initTestCase()
{
    m_folder.reset(new WorkFolder("mwviews"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));

    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"U1", "T1", "Trung tâm Một"}}));
    // Newest exam date first in the combo: K1, K2, K3.
    sql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai, TrungTam) VALUES"
        " ('K1', 'Khóa Một', 'U1', CURDATE(), 2, 'Sân Một'),"
        " ('K2', 'Khóa Hai', 'U1', CURDATE() - INTERVAL 1 DAY, 2, 'Sân Một'),"
        " ('K3', 'Khóa Ba', 'U1', CURDATE() - INTERVAL 9 DAY, 1, 'Sân Một')");
    // Course K1: four in the room (order numbers 10, 9, 100, 1), three done
    // (two passed, one failed), three not yet (state 0, NULL, and 0 with an
    // absent mark that counts neither way).
    struct Entry
    {
        int id;
        const char *name;
        const char *orderNumber;
        const char *state;
        const char *result;
    };
    const Entry entries[] = {
        {1, "Nguyễn Văn Mười", "10", "1", "NULL"},   {2, "Trần Thị Chín", "9", "1", "NULL"},
        {3, "Lê Văn Trăm", "100", "1", "NULL"},      {4, "Phạm Thị Một", "1", "1", "NULL"},
        {5, "Hoàng Văn Hai", "2", "2", "'DAT'"},     {6, "Đỗ Thị Ba", "3", "2", "'KHONG DAT'"},
        {7, "Vũ Văn Bốn", "4", "2", "' đạt '"},      {8, "Bùi Thị Năm", "5", "0", "NULL"},
        {9, "Ngô Văn Sáu", "6", "NULL", "NULL"},     {10, "Dương Thị Bảy", "7", "0", "'VANG'"},
    };
    for (const Entry &e : entries) {
        // Identity numbers that share no digits pattern with the order
        // numbers searched for below.
        sql(QString("INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) VALUES (%1, '%2', '1990-01-02',"
                    " '079%3')")
                .arg(e.id)
                .arg(QString::fromUtf8(e.name))
                .arg(e.id * 37));
        sql(QString("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong,"
                    " DiemChuanMoPhong, TrangThai, KetQuaMoPhong) VALUES ('K1', %1, '%2', 'B2', -1, 35, %3, %4)")
                .arg(e.id)
                .arg(e.orderNumber, e.state, QString::fromUtf8(e.result)));
    }
    // K2 runs with nobody in the room; K3 is not running.
    sql("INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) VALUES (20, 'Lý Văn Hai Mươi', '1991-01-01', '20')");
    sql("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai) VALUES ('K2', 20, '1', 0),"
        " ('K3', 20, '1', 1)");

    m_window.reset(new MainWindow());
    m_window->initModel();
    m_window->showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindowViews::cleanupTestCase()
{
    // Closes the listener and every terminal connection.
    m_window.reset();
    m_folder.reset();
}

void TestMainWindowViews::selectCourse(const QString &name)
{
    QComboBox *combo = widget<QComboBox>("cmbCourse");
    const int index = name.isEmpty() ? 0 : combo->findData(name, CourseEntry::NameRole);
    QVERIFY2(index >= 0, qPrintable(name));
    combo->setCurrentIndex(index);
}

Grid TestMainWindowViews::grid() const
{
    QWidget *contents = widget<QWidget>("scrollAreaWidgetContents");
    auto *layout = qobject_cast<QGridLayout *>(contents->layout());
    if (!layout)
        return Grid();
    // The grid's row count never shrinks: rows are gathered from the items.
    QMap<int, QMap<int, QString>> cells;
    for (int i = 0; i < layout->count(); ++i) {
        int row, column, rowSpan, columnSpan;
        layout->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        auto *button = qobject_cast<QAbstractButton *>(layout->itemAt(i)->widget());
        if (button)
            cells[row][column] = button->text();
    }
    Grid rows;
    for (const QMap<int, QString> &row : cells)
        rows << row.values();
    return rows;
}

QStringList TestMainWindowViews::runningCourses() const
{
    QStringList names;
    const QAbstractItemModel *model = widget<QTableView>("startingCourseView")->model();
    for (int row = 0; model && row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

QStringList TestMainWindowViews::counterTexts() const
{
    QStringList texts;
    for (const char *name : {"lbTotal", "lbNotContest", "lbContest", "lbContested", "lbPass", "lbNotPass"})
        texts << widget<QLabel>(name)->text();
    return texts;
}

QStringList TestMainWindowViews::shownOrderNumbers() const
{
    QStringList numbers;
    const QAbstractItemModel *model = widget<QTableView>("studentView")->model();
    for (int row = 0; row < model->rowCount(); ++row)
        numbers << model->index(row, StudentModel::ColumnOrderNumber).data().toString();
    return numbers;
}

void TestMainWindowViews::courseCombo()
{
    QComboBox *combo = widget<QComboBox>("cmbCourse");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, (QStringList{"Chọn khóa thi...", "K1 – Khóa Một", "K2 – Khóa Hai", "K3 – Khóa Ba"}));
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(widget<QTableView>("studentView")->model()->rowCount(), 0);
    QCOMPARE(counterTexts(), (QStringList{"", "", "", "", "", ""}));
    QCOMPARE(widget<QLabel>("lbCourse2")->text(), QString());

    QStringList filters;
    QComboBox *types = widget<QComboBox>("cbStudentType");
    for (int i = 0; i < types->count(); ++i)
        filters << types->itemText(i);
    QCOMPARE(filters, (QStringList{"Tất cả", "Đạt", "Không đạt", "Vắng/Chưa thi", "Đang thi"}));
}

void TestMainWindowViews::runningCoursesAndRoomGrid()
{
    QTableView *running = widget<QTableView>("startingCourseView");
    QVERIFY(running->horizontalHeader()->isHidden());
    QVERIFY(running->verticalHeader()->isHidden());
    QCOMPARE(runningCourses(), (QStringList{"K1 – Khóa Một", "K2 – Khóa Hai"}));

    // Each running course: its title across three columns, then its
    // order numbers in numeric order, three a row.
    const Grid expected = {{"K1 – Khóa Một"}, {"1", "9", "10"}, {"100"}, {"K2 – Khóa Hai"}};
    QCOMPARE(grid(), expected);

    auto *layout = qobject_cast<QGridLayout *>(widget<QWidget>("scrollAreaWidgetContents")->layout());
    // Right after start-up: each button once (a second copy would sit under
    // the first, unseen in grid()).
    QCOMPARE(layout->count(), 6);
    QCOMPARE(layout->spacing(), 0);
    QCOMPARE(layout->contentsMargins(), QMargins(0, 0, 0, 0));
    for (int i = 0; i < layout->count(); ++i) {
        auto *button = qobject_cast<QPushButton *>(layout->itemAt(i)->widget());
        QVERIFY(button);
        int row, column, rowSpan, columnSpan;
        layout->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        const bool title = button->text().contains(" – Khóa");
        QCOMPARE(columnSpan, title ? 3 : 1);
        QCOMPARE(button->styleSheet().contains("background-color: #bac1ca;"), title);
    }
}

void TestMainWindowViews::counters_data()
{
    QTest::addColumn<QString>("course");
    QTest::addColumn<QStringList>("expected");
    // total, not yet, in the room, done, passed, failed.
    QTest::newRow("K1") << "Khóa Một" << QStringList{"10", "3", "4", "3", "2", "1"};
    QTest::newRow("K2") << "Khóa Hai" << QStringList{"1", "1", "0", "0", "0", "0"};
    QTest::newRow("K3, not running") << "Khóa Ba" << QStringList{"1", "0", "1", "0", "0", "0"};
}

void TestMainWindowViews::counters()
{
    QFETCH(QString, course);
    QFETCH(QStringList, expected);
    selectCourse(course);
    QCOMPARE(counterTexts(), expected);
    QCOMPARE(widget<QLabel>("lbCourse2")->text(), course);
    QCOMPARE(widget<QTableView>("studentView")->model()->rowCount(), expected.at(0).toInt());
}

void TestMainWindowViews::placeholderEmptiesTableAndCounters()
{
    selectCourse("Khóa Một");
    QCOMPARE(widget<QTableView>("studentView")->model()->rowCount(), 10);
    selectCourse(QString());
    QCOMPARE(widget<QTableView>("studentView")->model()->rowCount(), 0);
    QCOMPARE(counterTexts(), (QStringList{"", "", "", "", "", ""}));
    QCOMPARE(widget<QLabel>("lbCourse2")->text(), QString("Khóa Một"));
    QVERIFY(!BusinessController::getInstance()->getCurrentCourse());
    // The grid shows the room whatever the combo stands on.
    QCOMPARE(grid().size(), 4);
}

void TestMainWindowViews::tableColumns_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("hidden");
    const struct
    {
        StudentModel::Column column;
        int width;
        bool hidden;
    } columns[] = {
        {StudentModel::ColumnId, 60, true},
        {StudentModel::ColumnName, 180, false},
        {StudentModel::ColumnOrderNumber, 120, false},
        {StudentModel::ColumnIdentityNumber, 180, false},
        {StudentModel::ColumnBirthDate, 100, false},
        {StudentModel::ColumnLicenceClass, 130, false},
        {StudentModel::ColumnStartTime, 160, false},
        {StudentModel::ColumnEndTime, 160, false},
        {StudentModel::ColumnScore, 120, false},
        {StudentModel::ColumnPassMark, 150, false},
        {StudentModel::ColumnResult, 120, false},
        {StudentModel::ColumnGender, -1, true},
        {StudentModel::ColumnTheoryResult, 120, false},
        {StudentModel::ColumnState, 60, true},
        {StudentModel::ColumnContent, 60, true},
    };
    for (const auto &c : columns)
        QTest::newRow(qPrintable(QString("column %1").arg(c.column))) << int(c.column) << c.width << c.hidden;
}

void TestMainWindowViews::tableColumns()
{
    QFETCH(int, column);
    QFETCH(int, width);
    QFETCH(bool, hidden);
    QTableView *view = widget<QTableView>("studentView");
    QCOMPARE(view->isColumnHidden(column), hidden);
    // Hidden sections report width 0; the width is kept for when they show.
    if (width > 0 && !hidden)
        QCOMPARE(view->columnWidth(column), width);
    if (width > 0 && hidden)
        QCOMPARE(view->horizontalHeader()->sectionSize(column) == 0
                     ? width
                     : view->horizontalHeader()->sectionSize(column),
                 width);
    QVERIFY(view->horizontalHeader()->stretchLastSection());
    QCOMPARE(view->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(view->horizontalHeader()->font().family(), QString("Tahoma"));
    QCOMPARE(view->horizontalHeader()->font().pointSize(), 11);
}

void TestMainWindowViews::searchAndFilter_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("everybody") << "" << 0 << QStringList{"1", "2", "3", "4", "5", "6", "7", "9", "10", "100"};
    QTest::newRow("name, any case") << "trăm" << 0 << QStringList{"100"};
    QTest::newRow("order number") << "10" << 0 << QStringList{"10", "100"};
    QTest::newRow("identity number") << "079111" << 0 << QStringList{"100"};
    QTest::newRow("passed") << "" << 1 << QStringList{"2"};
    QTest::newRow("failed") << "" << 2 << QStringList{"3"};
    QTest::newRow("absent or not yet") << "" << 3 << QStringList{"5", "6", "7"};
    QTest::newRow("in the room") << "" << 4 << QStringList{"1", "9", "10", "100"};
    QTest::newRow("in the room, searched") << "Chín" << 4 << QStringList{"9"};
}

void TestMainWindowViews::searchAndFilter()
{
    QFETCH(QString, search);
    QFETCH(int, filter);
    QFETCH(QStringList, shown);

    selectCourse("Khóa Một");
    QLineEdit *searchBox = widget<QLineEdit>("leSearch");
    searchBox->clear();
    typeText(searchBox, search);
    widget<QComboBox>("cbStudentType")->setCurrentIndex(filter);
    QStringList numbers = shownOrderNumbers();
    std::sort(numbers.begin(), numbers.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    QCOMPARE(numbers, shown);

    searchBox->clear();
    widget<QComboBox>("cbStudentType")->setCurrentIndex(0);
    QCOMPARE(shownOrderNumbers().size(), 10);
    // The search box's clear button fades in and out; its animation ends
    // before the next case (and before the window goes).
    QTest::qWait(250);
}

void TestMainWindowViews::gridFollowsTheRoom()
{
    selectCourse("Khóa Một");
    // Two leave the room, one comes in; the controller says the course
    // changed, as it does for each terminal's start or result, here three
    // times in a row as when they finish together. The grid and the
    // counters follow within a second.
    sql("UPDATE khoathi_thisinh SET TrangThai = 2, KetQuaMoPhong = 'DAT' WHERE IDKhoaHoc = 'K1' AND SoBaoDanh IN ('9', '100')");
    sql("UPDATE khoathi_thisinh SET TrangThai = 1 WHERE IDKhoaHoc = 'K2' AND SoBaoDanh = '1'");
    for (int i = 0; i < 3; ++i)
        emit BusinessController::getInstance()->notifyUpdateCourseInfo();
    const Grid expected = {{"K1 – Khóa Một"}, {"1", "10"}, {"K2 – Khóa Hai"}, {"1"}};
    QTRY_COMPARE_WITH_TIMEOUT(grid(), expected, 1000);
    QCOMPARE(counterTexts(), (QStringList{"10", "3", "2", "5", "4", "1"}));
    // The grid keeps its buttons from one refresh to the next: none is
    // left behind outside it, and the titles keep their look.
    QWidget *contents = widget<QWidget>("scrollAreaWidgetContents");
    const auto buttons = [contents]() {
        return contents->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly);
    };
    QCOMPARE(buttons().size(), contents->layout()->count());
    for (QPushButton *button : buttons())
        QCOMPARE(button->styleSheet().isEmpty(), !button->text().contains(" – "));

    sql("UPDATE khoathi_thisinh SET TrangThai = 1, KetQuaMoPhong = NULL WHERE IDKhoaHoc = 'K1' AND SoBaoDanh IN ('9', '100')");
    sql("UPDATE khoathi_thisinh SET TrangThai = 0 WHERE IDKhoaHoc = 'K2' AND SoBaoDanh = '1'");
    emit BusinessController::getInstance()->notifyUpdateCourseInfo();
    QTRY_COMPARE_WITH_TIMEOUT(grid(), (Grid{{"K1 – Khóa Một"}, {"1", "9", "10"}, {"100"}, {"K2 – Khóa Hai"}}), 1000);
    QCOMPARE(counterTexts(), (QStringList{"10", "3", "4", "3", "2", "1"}));
    QCOMPARE(buttons().size(), contents->layout()->count());
}

void TestMainWindowViews::doubleClickOnRunningCourse()
{
    selectCourse(QString());
    QTableView *running = widget<QTableView>("startingCourseView");
    const QModelIndex second = running->model()->index(1, 0);
    // A double click is a press, a release, then the double click.
    QTest::mouseClick(running->viewport(), Qt::LeftButton, Qt::NoModifier, running->visualRect(second).center());
    QTest::mouseDClick(running->viewport(), Qt::LeftButton, Qt::NoModifier, running->visualRect(second).center());
    QCOMPARE(widget<QComboBox>("cmbCourse")->currentText(), QString("K2 – Khóa Hai"));
    QCOMPARE(widget<QLabel>("lbCourse2")->text(), QString("Khóa Hai"));
    QCOMPARE(widget<QTableView>("studentView")->model()->rowCount(), 1);
}

void TestMainWindowViews::runningCourseFoundByCode()
{
    selectCourse("Khóa Một");
    // Renamed behind the window's back: the running list is re-read, the
    // combo keeps the cached name; the double click finds the course by its
    // code all the same. A course started behind its back is not in the
    // combo at all: the double click chooses nothing.
    sql("UPDATE khoathi SET TenKhoaHoc = 'Khóa Hai Mới' WHERE IDKhoaHoc = 'K2'");
    sql("UPDATE khoathi SET TrangThai = 2 WHERE IDKhoaHoc = 'K3'");
    sql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai, TrungTam) VALUES"
        " ('K4', 'Khóa Bốn', 'U1', CURDATE() - INTERVAL 20 DAY, 2, 'Sân Một')");
    // The course manager says a course was started or stopped.
    emit m_window->findChild<ManageCourseDialog *>()->notifyChangeStartingCourse();
    // onChangeStartingCourse refilled the combo: it stands on the placeholder.
    QCOMPARE(widget<QComboBox>("cmbCourse")->currentIndex(), 0);
    QCOMPARE(widget<QTableView>("studentView")->model()->rowCount(), 0);
    QCOMPARE(runningCourses(), (QStringList{"K1 – Khóa Một", "K2 – Khóa Hai Mới", "K3 – Khóa Ba", "K4 – Khóa Bốn"}));
    QTableView *running = widget<QTableView>("startingCourseView");
    auto doubleClick = [running](int row) {
        const QPoint where = running->visualRect(running->model()->index(row, 0)).center();
        QTest::mouseClick(running->viewport(), Qt::LeftButton, Qt::NoModifier, where);
        QTest::mouseDClick(running->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    };
    doubleClick(3);
    QCOMPARE(widget<QComboBox>("cmbCourse")->currentIndex(), 0);
    doubleClick(1);
    QCOMPARE(widget<QComboBox>("cmbCourse")->currentText(), QString("K2 – Khóa Hai"));
    QCOMPARE(widget<QTableView>("studentView")->model()->rowCount(), 1);
    sql("DELETE FROM khoathi WHERE IDKhoaHoc = 'K4'");
    sql("UPDATE khoathi SET TrangThai = 1 WHERE IDKhoaHoc = 'K3'");
    sql("UPDATE khoathi SET TenKhoaHoc = 'Khóa Hai' WHERE IDKhoaHoc = 'K2'");
}

ORV_TEST_MAIN_DESKTOP(TestMainWindowViews)
#include "tst_mainwindowviews.moc"
