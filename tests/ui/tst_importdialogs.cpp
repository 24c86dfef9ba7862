// The import dialogs against the main database, the course dialog with the
// photo-folder option on, and the managers' tables when an import from the
// theory-test database arrives before they were ever opened.

#include "records/course.h"
#include "records/province.h"
#include "records/unit.h"
#include "server/business/businesscontroller.h"
#include "server/network/iocontroller.h"
#include "tests/support/dialogprobe.h"
#include "tests/support/modalanswer.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/workfolder.h"
#include "ui/addcoursedialog.h"
#include "ui/importagaindialog.h"
#include "ui/importinfosdialog.h"
#include "ui/importxmldialog.h"
#include "ui/managecoursedialog.h"
#include "ui/manageprovincedialog.h"
#include "ui/manageunitdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>

#include <memory>

namespace {
WorkFolder::Options withPhotoFolders()
{
    WorkFolder::Options options;
    options.importAvatarFolderOn = 1;
    return options;
}

Course course(const QString &code, const QString &name)
{
    Course made;
    made.setIDKhoaHoc(code);
    made.setTenKhoaHoc(name);
    return made;
}

QStringList itemsOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList columnOf(const QTableView *view, int column)
{
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        texts << view->model()->index(row, column).data().toString();
    return texts;
}

void click(QWidget *dialog, const char *button)
{
    auto *target = dialog->findChild<QPushButton *>(QString::fromLatin1(button));
    QVERIFY2(target, button);
    target->click();
}
} // namespace

class TestImportDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void xmlDialogOffersStartableCourses();
    void xmlFileChooser_data();
    void xmlFileChooser();
    void xmlDialogWithoutCourseStaysOpen();
    void auxiliaryCourseChoice_data();
    void auxiliaryCourseChoice();
    void auxiliaryCourseChoiceGivesWay();
    void importAgain_data();
    void importAgain();
    void photoFolderRow();
    void importBeforeManagersOpened();

private:
    void mainSql(const QString &s) { QVERIFY2(TestDb::exec(m_folder->mainAdmin(), s), qPrintable(s)); }
    void auxSql(const QString &s) { QVERIFY2(TestDb::exec(m_folder->auxAdmin(), s), qPrintable(s)); }

    std::unique_ptr<WorkFolder> m_folder;
    BusinessController *m_controller = nullptr;
    std::unique_ptr<ImportXmlDialog> m_xml;
};

void TestImportDialogs::initTestCase()
{
    m_folder.reset(new WorkFolder("impdlg", withPhotoFolders()));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"U1", "T1", "Trung tâm Một"}}));
    mainSql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai, GhiChu) VALUES"
            " ('K1', 'Khóa Chuẩn Bị', 'U1', '2024-05-04', 1, 'anh/k1'),"
            " ('K2', 'Khóa Đang Thi', 'U1', '2024-05-03', 2, NULL),"
            " ('K3', 'Khóa Đã Thi', 'U1', '2024-05-02', 3, NULL),"
            " ('K4', 'Khóa Chưa Rõ', 'U1', '2024-05-01', NULL, NULL)");
    m_controller = BusinessController::getInstance();
    QCOMPARE(m_controller->isDbConnectionFailed(), 0);
    m_xml.reset(new ImportXmlDialog);
}

void TestImportDialogs::cleanupTestCase()
{
    m_xml.reset();
    IOController::destroyInstance();
}

void TestImportDialogs::init()
{
    DialogProbe::hideBoxes();
}

void TestImportDialogs::xmlDialogOffersStartableCourses()
{
    m_xml->findChild<QLineEdit *>("leXmlPath")->setText("old.xml");
    m_xml->showDialog();
    QVERIFY(m_xml->isVisible());
    QCOMPARE(m_xml->findChild<QLineEdit *>("leXmlPath")->text(), QString());
    QStringList offered = itemsOf(m_xml->findChild<QComboBox *>("cbCourse"));
    offered.sort();
    QCOMPARE(offered, QStringList({"K1 – Khóa Chuẩn Bị", "K2 – Khóa Đang Thi", "K4 – Khóa Chưa Rõ"}));
    DialogProbe::screenshot(m_xml.get(), "importxmldialog");

    QSignalSpy finished(m_xml.get(), &QDialog::finished);
    auto *courses = m_xml->findChild<QComboBox *>("cbCourse");
    courses->setCurrentIndex(courses->findData("K2"));
    m_xml->findChild<QLineEdit *>("leXmlPath")->setText("/tmp/ds.xml");
    click(m_xml.get(), "btnImport");
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), ImportXmlDialog::ImportCode);
    QCOMPARE(m_xml->getCourseCode(), QString("K2"));
    QCOMPARE(m_xml->getXmlPath(), QString("/tmp/ds.xml"));
}

void TestImportDialogs::xmlFileChooser_data()
{
    QTest::addColumn<bool>("chosen");
    QTest::newRow("a file chosen") << true;
    QTest::newRow("chooser cancelled") << false;
}

void TestImportDialogs::xmlFileChooser()
{
    QFETCH(bool, chosen);
    const QString file = m_folder->filePath("danhsach.xml");
    QVERIFY(m_folder->writeFile("danhsach.xml", "<BAO_CAO/>"));
    m_xml->showDialog();
    auto *path = m_xml->findChild<QLineEdit *>("leXmlPath");
    path->setText("before.xml");
    std::unique_ptr<ModalAnswer> answer =
        ModalAnswer::of<QFileDialog>(ModalAnswer::choose(chosen ? file : QString()));
    click(m_xml.get(), "btnGetXml");
    QCOMPARE(path->text(), chosen ? file : QString());
    QCOMPARE(path->toolTip(), chosen ? file : QString());
    QCOMPARE(path->cursorPosition(), 0);
    m_xml->reject();
}

void TestImportDialogs::xmlDialogWithoutCourseStaysOpen()
{
    mainSql("UPDATE khoathi SET TrangThai = 3");
    m_xml->showDialog();
    mainSql("UPDATE khoathi SET TrangThai = 1 WHERE IDKhoaHoc = 'K1'");
    mainSql("UPDATE khoathi SET TrangThai = 2 WHERE IDKhoaHoc = 'K2'");
    mainSql("UPDATE khoathi SET TrangThai = NULL WHERE IDKhoaHoc = 'K4'");
    QCOMPARE(m_xml->findChild<QComboBox *>("cbCourse")->count(), 0);
    const QString codeBefore = m_xml->getCourseCode();
    QSignalSpy finished(m_xml.get(), &QDialog::finished);
    click(m_xml.get(), "btnImport");
    QCOMPARE(finished.count(), 0);
    QVERIFY(m_xml->isVisible());
    QCOMPARE(m_xml->getCourseCode(), codeBefore);
    click(m_xml.get(), "btnCancel");
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
}

void TestImportDialogs::auxiliaryCourseChoice_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<bool>>("imported");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("emitted");
    QTest::newRow("second course") << QStringList({"Khóa A", "Khóa B"}) << QList<bool>({false, true})
                                   << QStringList({"A0 – Khóa A", "A1 – Khóa B [Đã import]"}) << 1 << "btnOk"
                                   << QList<int>({1});
    QTest::newRow("empty list") << QStringList() << QList<bool>() << QStringList() << -1 << "btnOk"
                                << QList<int>({-1});
    QTest::newRow("cancelled") << QStringList({"Khóa A"}) << QList<bool>({false}) << QStringList({"A0 – Khóa A"})
                               << 0 << "btnCancel" << QList<int>();
}

void TestImportDialogs::auxiliaryCourseChoice()
{
    QFETCH(QStringList, names);
    QFETCH(QList<bool>, imported);
    QFETCH(QStringList, entries);
    QFETCH(int, chosen);
    QFETCH(QString, button);
    QFETCH(QList<int>, emitted);
    ImportInfosDialog dialog;
    const Course stale = course("S", "stale");
    dialog.setCourses({&stale}, {true});
    QList<Course> courses;
    for (int i = 0; i < names.size(); ++i)
        courses << course(QString("A%1").arg(i), names.at(i));
    QList<const Course *> listed;
    for (const Course &each : qAsConst(courses))
        listed << &each;
    dialog.setCourses(listed, imported);
    auto *box = dialog.findChild<QComboBox *>("cmbCourse");
    QCOMPARE(itemsOf(box), entries);
    box->setCurrentIndex(chosen);
    dialog.setModal(true);
    dialog.show();
    DialogProbe::screenshot(&dialog, "importinfosdialog");
    QSignalSpy picked(&dialog, &ImportInfosDialog::notifyImportCourse);
    click(&dialog, qPrintable(button));
    QList<int> indexes;
    for (const QList<QVariant> &arguments : picked)
        indexes << arguments.at(0).toInt();
    QCOMPARE(indexes, emitted);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), emitted.isEmpty() ? 0 : 1);
}

void TestImportDialogs::auxiliaryCourseChoiceGivesWay()
{
    // As long as the course name column holds.
    const QString longest = QString("Khóa sát hạch lái xe hạng B2 ").repeated(9).left(255);
    ImportInfosDialog dialog;
    const Course first = course("K1", "Khóa 01/2026");
    const Course second = course("K2", longest);
    dialog.setCourses({&first, &second}, {false, false});
    auto *box = dialog.findChild<QComboBox *>("cmbCourse");
    box->setCurrentIndex(1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const int screen = dialog.screen()->availableGeometry().width();
    QVERIFY2(dialog.minimumSizeHint().width() <= screen, qPrintable(QString::number(dialog.minimumSizeHint().width())));
    QVERIFY2(dialog.frameGeometry().width() <= screen, qPrintable(QString::number(dialog.frameGeometry().width())));
    for (const char *name : {"btnOk", "btnCancel"}) {
        auto *button = dialog.findChild<QPushButton *>(name);
        QVERIFY2(dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint(0, 0)), button->size())), name);
    }
    dialog.reject();
}

void TestImportDialogs::importAgain_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("storedCode");
    QTest::addColumn<QString>("storedComment");
    QTest::newRow("existing code") << "K1" << "lần hai" << "Cảnh báo|Mã khóa học đã tồn tại."
                                   << "OLD" << "old note";
    QTest::newRow("existing code with blanks") << "  K2 " << "lần hai" << "Cảnh báo|Mã khóa học đã tồn tại."
                                               << "OLD" << "old note";
    QTest::newRow("note of blanks") << "K8" << "   " << "Cảnh báo|Trường ghi chú trống" << "K8" << "";
    QTest::newRow("new code, trimmed") << "  K7  " << " nhập lại " << "" << "K7" << "nhập lại";
}

void TestImportDialogs::importAgain()
{
    QFETCH(QString, code);
    QFETCH(QString, comment);
    QFETCH(QString, warning);
    QFETCH(QString, storedCode);
    QFETCH(QString, storedComment);
    ImportAgainDialog dialog;
    QSignalSpy confirmed(&dialog, &ImportAgainDialog::confirmImportXml);
    QSignalSpy finished(&dialog, &QDialog::finished);
    // An earlier confirmation left these.
    dialog.findChild<QLineEdit *>("leCourse")->setText("OLD");
    dialog.findChild<QLineEdit *>("leComment")->setText("old note");
    dialog.show();
    click(&dialog, "btnConfirm");
    QCOMPARE(confirmed.count(), 1);
    DialogProbe::hideBoxes();

    dialog.show();
    dialog.findChild<QLineEdit *>("leCourse")->setText(code);
    dialog.findChild<QLineEdit *>("leComment")->setText(comment);
    DialogProbe::screenshot(&dialog, "importagaindialog");
    click(&dialog, "btnConfirm");
    QCOMPARE(DialogProbe::shownBoxes(), warning);
    QCOMPARE(confirmed.count(), warning.isEmpty() ? 2 : 1);
    QCOMPARE(dialog.isVisible(), !warning.isEmpty());
    QCOMPARE(dialog.getCourseCode(), storedCode);
    QCOMPARE(dialog.getComment(), storedComment);
    QCOMPARE(finished.count(), 0);

    click(&dialog, "btnCancel");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), 0);
    QCOMPARE(confirmed.count(), warning.isEmpty() ? 2 : 1);
}

void TestImportDialogs::photoFolderRow()
{
    AddCourseDialog dialog;
    for (const char *name : {"lbAvatarLabel", "lbAvatarFolderPath", "btnBrowseAvatarFolder"})
        QVERIFY2(dialog.findChild<QWidget *>(name)->isVisibleTo(&dialog), name);
    auto *folder = dialog.findChild<QLabel *>("lbAvatarFolderPath");

    Course course;
    course.setIDKhoaHoc("K1");
    course.setTenKhoaHoc("Khóa Chuẩn Bị");
    course.setIDDonVi("U1");
    course.setTrungTam("Trung tâm Một");
    course.setTrangThai(1);
    course.setNgayThi(QDate(2024, 5, 4));
    course.setNamHoc(2024);
    course.setGhiChu("anh/k1");
    dialog.showForEdit(&course);
    QCOMPARE(folder->text(), QString("anh/k1"));
    DialogProbe::screenshot(&dialog, "addcoursedialog-photofolder");

    const QString chosen = m_folder->filePath("videos");
    std::unique_ptr<ModalAnswer> answer = ModalAnswer::of<QFileDialog>(ModalAnswer::choose(chosen));
    click(&dialog, "btnBrowseAvatarFolder");
    QCOMPARE(folder->text(), chosen);
    answer = ModalAnswer::of<QFileDialog>(ModalAnswer::choose(QString()));
    click(&dialog, "btnBrowseAvatarFolder");
    QCOMPARE(folder->text(), chosen);

    click(&dialog, "btnUpdate");
    QCOMPARE(DialogProbe::shownBoxes(), QString("Thông tin|Cập nhật khóa học thành công"));
    QCOMPARE(TestDb::count(m_folder->mainAdmin(),
                           "SELECT COUNT(*) FROM khoathi WHERE IDKhoaHoc = 'K1' AND GhiChu = '" + chosen
                               + "'"),
             1);

    // Creating starts with no folder.
    dialog.showForCreate();
    QCOMPARE(folder->text(), QString());
    dialog.reject();
}

void TestImportDialogs::importBeforeManagersOpened()
{
    QVERIFY(ProvinceUnitRows::insert(m_folder->auxAdmin(), {{"AT1", "Tỉnh Nhập"}}, {{"AU1", "AT1", "Trung tâm Nhập"}}));
    auxSql("INSERT INTO khoahoc (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, Thi, HoiDong, TrungTam,"
           " TrangThai) VALUES ('AK1', 'Khóa Nhập', 'AU1', CURDATE(), 2024, 1, 'Hội đồng', 'Sân', 1)");

    ManageCourseDialog courses;
    ManageProvinceDialog provinces;
    ManageUnitDialog units;
    connect(m_controller, &BusinessController::notifyImportCourseFromDb, &courses,
            &ManageCourseDialog::onInsertCouserFromDB);
    connect(m_controller, &BusinessController::notifyImportProvinceFromDb, &provinces,
            &ManageProvinceDialog::onInsertProvinceFromDB);
    connect(m_controller, &BusinessController::notifyImportUnitFromDb, &units,
            &ManageUnitDialog::onInsertUnitFromDB);

    QCOMPARE(m_controller->importCourseFromAuxiliaryDb("AK1").first, 0);

    const auto *courseView = courses.findChild<QTableView *>();
    QStringList courseIds = columnOf(courseView, 1);
    courseIds.sort();
    QCOMPARE(courseIds, QStringList({"AK1", "K1", "K2", "K3", "K4"}));
    QCOMPARE(columnOf(provinces.findChild<QTableView *>(), 0), QStringList({"T1", "AT1"}));
    QCOMPARE(columnOf(units.findChild<QTableView *>(), 0), QStringList({"U1", "AU1"}));
    QCOMPARE(columnOf(units.findChild<QTableView *>(), 2), QStringList({"Hà Nội", "Tỉnh Nhập"}));

    // After the import the course list is read again: the table follows the
    // new records, each once.
    QSignalSpy reset(courseView->model(), &QAbstractItemModel::modelReset);
    courses.refreshCourseList();
    QCOMPARE(reset.count(), 1);
    courseIds = columnOf(courseView, 1);
    courseIds.sort();
    QCOMPARE(courseIds, QStringList({"AK1", "K1", "K2", "K3", "K4"}));
    QCOMPARE(courseView->model()->rowCount(), m_controller->getAllCourses()->size());
    courses.showDialog();
    QCOMPARE(columnOf(courseView, 2).count("Khóa Nhập"), 1);
}

ORV_TEST_MAIN_DESKTOP(TestImportDialogs)
#include "tst_importdialogs.moc"
