// The main window's imports against the private MariaDB and a theory-test
// database fixture read through a read-only account: the theory-test course
// list and its import, candidate-list files, the theory-result menu, and the
// course, council and unit lists the imports feed.

#include "records/course.h"
#include "server/business/businesscontroller.h"
#include "tests/support/dialogprobe.h"
#include "tests/support/modalanswer.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/workfolder.h"
#include "ui/exportstudentsdialog.h"
#include "ui/importinfosdialog.h"
#include "ui/importxmldialog.h"
#include "ui/mainwindow.h"
#include "models/studentmodel.h"
#include "ui/managecoursedialog.h"
#include "ui/manageprovincedialog.h"
#include "ui/manageunitdialog.h"
#include "models/studentmodel.h"

#include <QAction>
#include <QComboBox>
#include <QDomDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <memory>

namespace {
QStringList itemsOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList columnOf(const QDialog *dialog, int column)
{
    const QTableView *view = dialog->findChild<QTableView *>();
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        texts << view->model()->index(row, column).data().toString();
    return texts;
}

QByteArray candidateList(const QString &firstCode, const QString &secondCode)
{
    return QString(R"(<?xml version="1.0" encoding="UTF-8"?>
<BAO_CAO1>
    <HEADER>
        <TONG_SO_BAN_GHI>2</TONG_SO_BAN_GHI>
    </HEADER>
    <DATA>
        <KY_SH>KY-X</KY_SH>
        <NGUOI_LXS>
            <NGUOI_LX>
                <SO_TT>1</SO_TT>
                <MA_DK>%1</MA_DK>
                <HO_VA_TEN>Trần Văn Một</HO_VA_TEN>
                <SO_CMT>001090000011</SO_CMT>
                <HO_SO>
                    <MA_KY_SH>KY-X</MA_KY_SH>
                    <SO_BAO_DANH>21</SO_BAO_DANH>
                    <HANG_GPLX>B2</HANG_GPLX>
                </HO_SO>
            </NGUOI_LX>
            <NGUOI_LX>
                <SO_TT>2</SO_TT>
                <MA_DK>%2</MA_DK>
                <HO_VA_TEN>Lê Thị Hai</HO_VA_TEN>
                <SO_CMT>001090000012</SO_CMT>
                <HO_SO>
                    <MA_KY_SH>KY-X</MA_KY_SH>
                    <SO_BAO_DANH>22</SO_BAO_DANH>
                    <HANG_GPLX>B2</HANG_GPLX>
                </HO_SO>
            </NGUOI_LX>
        </NGUOI_LXS>
    </DATA>
</BAO_CAO1>
)")
        .arg(firstCode, secondCode)
        .toUtf8();
}
} // namespace

class TestMainWindowImports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void theoryTestCourseList();
    void theoryTestImport_data();
    void theoryTestImport();
    void candidateListFile_data();
    void candidateListFile();
    void theoryResultMenu();
    // Last: the imports above find the managers never opened.
    void listsFromTheMenus_data();
    void listsFromTheMenus();

private:
    void mainSql(const QString &s) { QVERIFY2(TestDb::exec(m_folder->mainAdmin(), s), qPrintable(s)); }
    void auxSql(const QString &s) { QVERIFY2(TestDb::exec(m_folder->auxAdmin(), s), qPrintable(s)); }
    int mainCount(const QString &sql) { return TestDb::count(m_folder->mainAdmin(), sql); }
    void trigger(const char *action) { m_window->findChild<QAction *>(action)->trigger(); }

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<MainWindow> m_window;
    BusinessController *m_controller = nullptr;
};

void TestMainWindowImports::initTestCase()
{
    m_folder.reset(new WorkFolder("uiimports"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"U1", "T1", "Trung tâm Một"}}));
    mainSql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai) VALUES"
            " ('AK0', 'Khóa Đã Nhập', 'U1', '2024-05-03', 1),"
            " ('AK2', 'Tên Khác', 'U1', '2024-05-02', 1),"
            " ('K5', 'Khóa Danh Sách', 'U1', '2024-05-01', 1)");
    mainSql("INSERT INTO thisinh (IDThiSinh, Ma_Dang_Ky, Ma_Ky_SH, HoTen) VALUES"
            " (50, 'DK-IN', 'KY-X', 'Người Đã Có')");
    mainSql("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh) VALUES ('K5', 50, '1')");

    QVERIFY(ProvinceUnitRows::insert(m_folder->auxAdmin(), {{"AT1", "Tỉnh Nhập"}}, {{"AU1", "AT1", "Trung tâm Nhập"}}));
    auxSql("INSERT INTO khoahoc (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, Thi, HoiDong, TrungTam,"
           " TrangThai) VALUES"
           " ('AK1', 'Khóa Nhập', 'AU1', CURDATE(), 2024, 1, 'Hội đồng', 'Trung tâm Nhập', 1),"
           " ('AK0', 'Khóa Đã Nhập', 'AU1', CURDATE() - INTERVAL 1 DAY, 2024, 1, 'Hội đồng', 'Sân', 1),"
           " ('AK2', 'Khóa Hai', 'AU1', CURDATE() - INTERVAL 2 DAY, 2024, 1, 'Hội đồng', 'Sân', 1)");
    for (int n = 1; n <= 3; ++n) {
        auxSql(QString("INSERT INTO thisinh (IDThiSinh, IDKhoaHoc, Ma_Dang_Ky, Ma_Ky_SH, HoTen, NgaySinh,"
                       " SoCMT, noidungSH) VALUES (%1, 'AK1', 'DK%1', 'KY1', 'Thí Sinh %1', '1990-01-0%1',"
                       " '10000000000%1', '1')")
                   .arg(n));
        auxSql(QString("INSERT INTO khoahoc_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, Diem_Chuan)"
                       " VALUES ('AK1', %1, '%1', 'B2', 21)")
                   .arg(n));
    }

    m_window.reset(new MainWindow);
    m_controller = BusinessController::getInstance();
    QCOMPARE(m_controller->isDbConnectionFailed(), 0);
    // As the start-up controller does before showing it.
    m_window->initModel();
    m_window->show();
}

void TestMainWindowImports::cleanupTestCase()
{
    m_window.reset();
    m_folder.reset();
}

void TestMainWindowImports::init()
{
    DialogProbe::hideBoxes();
}

void TestMainWindowImports::listsFromTheMenus_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("courses") << "actionCourseList" << "ManageCourseDialog";
    QTest::newRow("councils") << "actionProvince" << "ManageProvinceDialog";
    QTest::newRow("units") << "actionUnit" << "ManageUnitDialog";
    QTest::newRow("candidate-list file") << "actionImport_XML" << "ImportXmlDialog";
}

void TestMainWindowImports::listsFromTheMenus()
{
    QFETCH(QString, action);
    QFETCH(QString, dialog);
    trigger(qPrintable(action));
    auto *shown = m_window->findChild<QDialog *>(dialog);
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
    QVERIFY(shown->isModal());
    shown->reject();
}

void TestMainWindowImports::theoryTestCourseList()
{
    trigger("actionAuxDb");
    auto *dialog = m_window->findChild<ImportInfosDialog *>();
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->isModal());
    // A course already in the main database under its name is marked; one
    // whose code is taken by another course is not.
    QCOMPARE(itemsOf(dialog->findChild<QComboBox *>("cmbCourse")),
             QStringList({"AK1 – Khóa Nhập", "AK0 – Khóa Đã Nhập [Đã import]", "AK2 – Khóa Hai"}));
    dialog->reject();
}

void TestMainWindowImports::theoryTestImport_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("notice");
    QTest::newRow("imported under the same name")
        << 1 << "Lỗi|Không thể import. Khoá thi AK0 đã tồn tại trong CSDL mô phỏng";
    QTest::newRow("code taken by another course")
        << 2 << "Lỗi|Không thể import. Khoá thi AK2 đã tồn tại trong CSDL mô phỏng";
    QTest::newRow("past the list") << 3 << "";
    QTest::newRow("empty choice") << -1 << "";
    QTest::newRow("new course") << 0 << "Thông tin|Đã nhập thành công 3/3 học viên của khóa thi AK1";
}

void TestMainWindowImports::theoryTestImport()
{
    QFETCH(int, index);
    QFETCH(QString, notice);
    trigger("actionAuxDb");
    auto *dialog = m_window->findChild<ImportInfosDialog *>();
    const int courses = mainCount("SELECT COUNT(*) FROM khoathi");
    const int entries = mainCount("SELECT COUNT(*) FROM khoathi_thisinh");
    // A course is shown in the main table before the import.
    auto *shownCourse = m_window->findChild<QComboBox *>("cmbCourse");
    shownCourse->setCurrentIndex(shownCourse->findData("K5"));
    QVERIFY(shownCourse->currentIndex() > 0);
    auto *box = dialog->findChild<QComboBox *>("cmbCourse");
    if (index >= 0 && index < box->count()) {
        box->setCurrentIndex(index);
        dialog->findChild<QPushButton *>("btnOk")->click();
    } else {
        // What a stale or empty list hands back.
        emit dialog->notifyImportCourse(index);
        dialog->reject();
    }
    QCOMPARE(DialogProbe::shownBoxes(), notice);
    const bool imported = notice.startsWith("Thông tin");
    QCOMPARE(mainCount("SELECT COUNT(*) FROM khoathi"), courses + (imported ? 1 : 0));
    QCOMPARE(mainCount("SELECT COUNT(*) FROM khoathi_thisinh"), entries + (imported ? 3 : 0));
    if (!imported) {
        QCOMPARE(shownCourse->currentText(), QString("K5 – Khóa Danh Sách"));
        return;
    }
    // The course choice is refilled from the list read again and stands on
    // its placeholder; the export dialog lists the same courses.
    QCOMPARE(shownCourse->currentIndex(), 0);
    QCOMPARE(shownCourse->count(), m_controller->getAllCourses()->size() + 1);
    QVERIFY(shownCourse->findText("AK1 – Khóa Nhập") > 0);
    auto *exportChoice = m_window->findChild<ExportStudentsDialog *>()->findChild<QComboBox *>("cmbCourse");
    QStringList exportable;
    for (const Course *course : *m_controller->getAllCourses())
        exportable << course->getIDKhoaHoc() + " – " + course->getTenKhoaHoc();
    QCOMPARE(itemsOf(exportChoice), exportable);

    // The managers were never opened: each shows every record once, and no
    // blank row.
    QStringList courseIds = columnOf(m_window->findChild<ManageCourseDialog *>(), 1);
    courseIds.sort();
    QCOMPARE(courseIds, QStringList({"AK0", "AK1", "AK2", "K5"}));
    QCOMPARE(columnOf(m_window->findChild<ManageProvinceDialog *>(), 0), QStringList({"T1", "AT1"}));
    QCOMPARE(columnOf(m_window->findChild<ManageUnitDialog *>(), 0), QStringList({"U1", "AU1"}));
    // Opening it later reads nothing again.
    trigger("actionCourseList");
    auto *manager = m_window->findChild<ManageCourseDialog *>();
    QCOMPARE(columnOf(manager, 1).count("AK1"), 1);
    manager->reject();
}

void TestMainWindowImports::candidateListFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<int>("added");
    QTest::newRow("first candidate already in the course")
        << candidateList("DK-IN", "DK-NEW") << "Cảnh báo|Dữ liệu đã có trong khóa học." << 0;
    QTest::newRow("not XML") << QByteArray("<BAO_CAO1>\n  <DATA>\n</BAO_CAO1>\n") << "malformed" << 0;
    QTest::newRow("no file") << QByteArray() << "" << 0;
    QTest::newRow("new candidates") << candidateList("DK-A", "DK-B")
                                    << "Thông tin|Đã nhập thành công 2/2 học viên của khóa thi K5" << 2;
}

void TestMainWindowImports::candidateListFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, notice);
    QFETCH(int, added);
    const QString path = m_folder->filePath("danhsach.xml");
    QFile::remove(path);
    if (!bytes.isEmpty())
        QVERIFY(m_folder->writeFile("danhsach.xml", bytes));
    if (notice == "malformed") {
        QDomDocument probe;
        QString message;
        int line = 0;
        QVERIFY(!probe.setContent(bytes, &message, &line));
        notice = QString("Cảnh báo|Tập tin XML không hợp lệ (dòng %1): %2").arg(line).arg(message);
    }
    const int entries = mainCount("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = 'K5'");
    auto *shownCourse = m_window->findChild<QComboBox *>("cmbCourse");
    shownCourse->setCurrentIndex(shownCourse->findData("K5"));
    QVERIFY(shownCourse->currentIndex() > 0);

    trigger("actionImport_XML");
    auto *dialog = m_window->findChild<ImportXmlDialog *>();
    auto *courses = dialog->findChild<QComboBox *>("cbCourse");
    courses->setCurrentIndex(courses->findText("K5 – Khóa Danh Sách"));
    dialog->findChild<QLineEdit *>("leXmlPath")->setText(path);
    dialog->findChild<QPushButton *>("btnImport")->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(DialogProbe::shownBoxes(), notice);
    QCOMPARE(mainCount("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = 'K5'"), entries + added);
    QCOMPARE(shownCourse->currentIndex() == 0, added > 0);
}

void TestMainWindowImports::theoryResultMenu()
{
    std::unique_ptr<ModalAnswer> answer = ModalAnswer::messageBox();
    trigger("actionCapNhatKetQuaSHLyThuyet");
    QVERIFY(answer->answered());
    QCOMPARE(answer->title(), QString("Thông báo"));
    QCOMPARE(answer->text(), QString("Có 0 học viên được cập nhật kết quả thi lý thuyết"));

    // A result reached the theory-test database for a course being examined,
    // the one whose candidates the table shows.
    mainSql("UPDATE khoathi SET TrangThai = 2 WHERE IDKhoaHoc = 'AK1'");
    auxSql("UPDATE khoahoc_thisinh SET KetQua = 'DAT' WHERE SoBaoDanh = '2'");
    const QList<Course *> *courses = m_controller->getAllCourses();
    int current = -1;
    for (int i = 0; i < courses->size(); ++i) {
        if (courses->at(i)->getIDKhoaHoc() == "AK1")
            current = i;
    }
    QVERIFY(m_controller->setCurrentCourse(current));
    const StudentModel *table = m_controller->loadStudentsOfCourse("AK1");
    const auto theoryResults = [table]() {
        QStringList results;
        for (int row = 0; row < table->rowCount(); ++row)
            results << table->index(row, StudentModel::ColumnOrderNumber).data().toString() + ":"
                           + table->index(row, StudentModel::ColumnTheoryResult).data().toString();
        results.sort();
        return results;
    };
    QCOMPARE(theoryResults(), QStringList({"1:", "2:", "3:"}));
    answer = ModalAnswer::messageBox();
    trigger("actionCapNhatKetQuaSHLyThuyet");
    QVERIFY(answer->answered());
    QCOMPARE(answer->text(), QString("Có 1 học viên được cập nhật kết quả thi lý thuyết"));
    QCOMPARE(mainCount("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = 'AK1' AND"
                       " KetQuaSHLyThuyet = 'DAT'"),
             1);
    QCOMPARE(theoryResults(), QStringList({"1:", "2:DAT", "3:"}));
}

ORV_TEST_MAIN_DESKTOP(TestMainWindowImports)
#include "tst_mainwindowimports.moc"
