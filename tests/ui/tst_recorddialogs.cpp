// The course, council and unit managers and their editing dialogs against the
// main database: what is stored, what the tables show, refusals and notices.

#include "records/course.h"
#include "records/province.h"
#include "records/unit.h"
#include "server/business/businesscontroller.h"
#include "server/network/iocontroller.h"
#include "tests/support/dialogprobe.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/workfolder.h"
#include "ui/addcoursedialog.h"
#include "ui/addprovincedialog.h"
#include "ui/addunitdialog.h"
#include "ui/confirmdialog.h"
#include "ui/managecoursedialog.h"
#include "ui/manageprovincedialog.h"
#include "ui/manageunitdialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QToolButton>

#include <memory>

class TestRecordDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void noRowChosen_data();
    void noRowChosen();
    void deletions_data();
    void deletions();
    void editingRefusals_data();
    void editingRefusals();
    void failedCourseWriteKeepsWhatWasTyped_data();
    void failedCourseWriteKeepsWhatWasTyped();
    void courseCreatedAndChanged();
    void councilAndUnitChanged();
    void deletedUnitIsNotChosenLater();

private:
    void mainSql(const QString &s) { QVERIFY2(TestDb::exec(m_folder->mainAdmin(), s), qPrintable(s)); }
    QString mainValue(const QString &sql);
    int mainCount(const QString &sql) { return TestDb::count(m_folder->mainAdmin(), sql); }
    ManageRecordDialog *manager(const QString &kind);
    QTableView *viewOf(ManageRecordDialog *dialog);
    // Makes the row whose column `column` shows `text` the current one.
    int chooseRow(ManageRecordDialog *dialog, int column, const QString &text);
    static void click(QWidget *dialog, const char *button);

    std::unique_ptr<WorkFolder> m_folder;
    BusinessController *m_controller = nullptr;
    std::unique_ptr<ManageCourseDialog> m_courses;
    std::unique_ptr<ManageProvinceDialog> m_provinces;
    std::unique_ptr<ManageUnitDialog> m_units;
};

QString TestRecordDialogs::mainValue(const QString &sql)
{
    QSqlQuery query(m_folder->mainAdmin());
    if (!query.exec(sql) || !query.next())
        return QStringLiteral("<none>");
    QStringList values;
    for (int i = 0; i < query.record().count(); ++i)
        values << query.value(i).toString();
    return values.join('|');
}

ManageRecordDialog *TestRecordDialogs::manager(const QString &kind)
{
    if (kind == "course")
        return m_courses.get();
    if (kind == "province")
        return m_provinces.get();
    return m_units.get();
}

QTableView *TestRecordDialogs::viewOf(ManageRecordDialog *dialog)
{
    return dialog->findChild<QTableView *>();
}

int TestRecordDialogs::chooseRow(ManageRecordDialog *dialog, int column, const QString &text)
{
    QTableView *view = viewOf(dialog);
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, column);
        if (index.data().toString() == text) {
            view->setCurrentIndex(index);
            return row;
        }
    }
    return -1;
}

void TestRecordDialogs::click(QWidget *dialog, const char *button)
{
    auto *target = dialog->findChild<QAbstractButton *>(QString::fromLatin1(button));
    QVERIFY2(target, button);
    target->click();
}

void TestRecordDialogs::initTestCase()
{
    m_folder.reset(new WorkFolder("recdlg"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(ProvinceUnitRows::insert(
        m_folder->mainAdmin(),
        {{"T1", "Hà Nội"}, {"T2", "Hải Phòng"}, {"T3", "Tỉnh Trống"}, {"T4", "Tỉnh Bỏ"}},
        {{"U0", "T1", "Trung tâm Rỗng"}, {"U1", "T1", "Trung tâm Một"}, {"U2", "T2", "Trung tâm Hai"},
         {"U3", "T2", "Trung tâm Ba"}}));
    mainSql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, HoiDong, TrungTam,"
            " TrangThai, GhiChu) VALUES"
            " ('K1', 'Khóa Đang Thi', 'U1', '2024-05-02', 2024, 'Hà Nội', 'Trung tâm Một', 2, NULL),"
            " ('K2', 'Khóa Hai', 'U2', '2024-05-01', 2024, 'Hải Phòng', 'Trung tâm Hai', 1, 'anh/k2'),"
            " ('K3', 'Khóa Đã Thi', 'U3', '2024-04-01', 2023, 'Hải Phòng', 'Trung tâm Ba', 3, NULL)");
    mainSql("INSERT INTO khoathi_thisinh (IDKhoaHoc, SoBaoDanh) VALUES ('K1', '1'), ('K3', '2')");

    m_controller = BusinessController::getInstance();
    QCOMPARE(m_controller->isDbConnectionFailed(), 0);
    m_courses.reset(new ManageCourseDialog);
    m_provinces.reset(new ManageProvinceDialog);
    m_units.reset(new ManageUnitDialog);
    for (const QString kind : {"course", "province", "unit"}) {
        manager(kind)->showDialog();
        DialogProbe::screenshot(manager(kind), "manage" + kind + "dialog");
    }
}

void TestRecordDialogs::cleanupTestCase()
{
    m_courses.reset();
    m_provinces.reset();
    m_units.reset();
    IOController::destroyInstance();
}

void TestRecordDialogs::init()
{
    DialogProbe::hideBoxes();
}

void TestRecordDialogs::noRowChosen_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("notice");
    const QString course = "Thông tin|Bạn chưa lựa chọn khóa học";
    const QString province = "Thông tin|Bạn chưa lựa chọn hội đồng sát hạch";
    const QString unit = "Thông tin|Bạn chưa lựa chọn đơn vị đào tạo";
    QTest::newRow("course, change") << "course" << "btnEdit" << course;
    QTest::newRow("course, delete") << "course" << "btnDelete" << course;
    QTest::newRow("council, change") << "province" << "btnEdit" << province;
    QTest::newRow("council, delete") << "province" << "btnDelete" << province;
    QTest::newRow("unit, change") << "unit" << "btnEdit" << unit;
    QTest::newRow("unit, delete") << "unit" << "btnDelete" << unit;
}

void TestRecordDialogs::noRowChosen()
{
    QFETCH(QString, kind);
    QFETCH(QString, button);
    QFETCH(QString, notice);
    ManageRecordDialog *dialog = manager(kind);
    viewOf(dialog)->selectionModel()->clearCurrentIndex();
    click(dialog, qPrintable(button));
    QCOMPARE(DialogProbe::shownBoxes(), notice);
    // Neither the editing dialog nor the confirmation opened.
    for (QDialog *child : dialog->findChildren<QDialog *>()) {
        if (!qobject_cast<CustomerBox *>(child))
            QVERIFY2(!child->isVisible(), qPrintable(child->objectName()));
    }
}

void TestRecordDialogs::deletions_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("course being examined")
        << "course" << "K1" << "khoathi WHERE IDKhoaHoc = 'K1'" << "Khóa học đang thi";
    QTest::newRow("council used by a unit")
        << "province" << "T1" << "tinh WHERE IDTinh = 'T1'" << "Tồn tại đơn vị sử dụng tỉnh";
    QTest::newRow("unit used by a course")
        << "unit" << "U1" << "donvi WHERE IDDonVi = 'U1'" << "Tồn tại khóa học sử dụng đơn vị";
    QTest::newRow("examined course") << "course" << "K3" << "khoathi WHERE IDKhoaHoc = 'K3'" << "";
    QTest::newRow("unused council") << "province" << "T3" << "tinh WHERE IDTinh = 'T3'" << "";
}

void TestRecordDialogs::deletions()
{
    QFETCH(QString, kind);
    QFETCH(QString, id);
    QFETCH(QString, table);
    QFETCH(QString, refusal);
    ManageRecordDialog *dialog = manager(kind);
    QSignalSpy removed(m_courses.get(), &ManageCourseDialog::notifyRemoveCourse);
    const int idColumn = kind == "course" ? 1 : 0;
    const int rows = viewOf(dialog)->model()->rowCount();
    const int row = chooseRow(dialog, idColumn, id);
    QVERIFY(row >= 0);

    // Cancelling the confirmation does nothing.
    click(dialog, "btnDelete");
    auto *confirm = dialog->findChild<ConfirmDialog *>();
    QVERIFY(confirm->isVisible());
    click(confirm, "btnCancel");
    QCOMPARE(mainCount("SELECT COUNT(*) FROM " + table), 1);
    QCOMPARE(viewOf(dialog)->model()->rowCount(), rows);

    click(dialog, "btnDelete");
    QVERIFY(confirm->isVisible());
    click(confirm, "btnConfirm");
    if (refusal.isEmpty()) {
        QCOMPARE(DialogProbe::shownBoxes(), QString());
        QCOMPARE(mainCount("SELECT COUNT(*) FROM " + table), 0);
        QCOMPARE(viewOf(dialog)->model()->rowCount(), rows - 1);
        QCOMPARE(chooseRow(dialog, idColumn, id), -1);
        QCOMPARE(removed.count(), kind == "course" ? 1 : 0);
    } else {
        QCOMPARE(DialogProbe::shownBoxes(), "Thông tin|" + refusal);
        QCOMPARE(mainCount("SELECT COUNT(*) FROM " + table), 1);
        QCOMPARE(viewOf(dialog)->model()->rowCount(), rows);
        QCOMPARE(viewOf(dialog)->model()->index(row, idColumn).data().toString(), id);
        QCOMPARE(removed.count(), 0);
    }
}

void TestRecordDialogs::editingRefusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("table");
    // A missing field is told and closes the council and unit dialogs; a
    // control character is told and keeps every dialog open.
    QTest::addColumn<QString>("notice");
    const QString missing = "Thông tin|Trường bắt buộc bị thiếu";
    const QString control = "Thông tin|Tên và mã không được chứa ký tự điều khiển (xuống dòng, tab).";
    QTest::newRow("course without code") << "course" << "" << "Khóa Mới" << "khoathi" << missing;
    QTest::newRow("course without name") << "course" << "KX" << "" << "khoathi" << missing;
    QTest::newRow("council without code") << "province" << "" << "Tỉnh Mới" << "tinh" << missing;
    QTest::newRow("council without name") << "province" << "TX" << "" << "tinh" << missing;
    QTest::newRow("unit without code") << "unit" << "" << "Đơn vị Mới" << "donvi" << missing;
    QTest::newRow("unit without name") << "unit" << "UX" << "" << "donvi" << missing;
    QTest::newRow("course name with a line break") << "course" << "KX" << "Khóa\nMới" << "khoathi" << control;
    QTest::newRow("course code with U+0001") << "course" << "K\x01X" << "Khóa Mới" << "khoathi" << control;
    QTest::newRow("council name with a tab") << "province" << "TX" << "Tỉnh\tMới" << "tinh" << control;
    QTest::newRow("unit code with U+001F") << "unit" << "U\x1fX" << "Đơn vị Mới" << "donvi" << control;
}

void TestRecordDialogs::editingRefusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, table);
    QFETCH(QString, notice);
    const int before = mainCount("SELECT COUNT(*) FROM " + table);
    std::unique_ptr<QDialog> dialog;
    if (kind == "course") {
        auto *course = new AddCourseDialog;
        dialog.reset(course);
        course->showForCreate();
        course->findChild<QLineEdit *>("leCourseCode")->setText(code);
        course->findChild<QLineEdit *>("leCourseName")->setText(name);
    } else {
        if (kind == "province") {
            auto *province = new AddProvinceDialog;
            dialog.reset(province);
            province->showForCreate();
        } else {
            auto *unit = new AddUnitDialog;
            dialog.reset(unit);
            unit->showForCreate();
        }
        dialog->findChild<QLineEdit *>("leCode")->setText(code);
        dialog->findChild<QLineEdit *>("leName")->setText(name);
    }
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    click(dialog.get(), "btnUpdate");
    QCOMPARE(DialogProbe::shownBoxes(), notice);
    QCOMPARE(mainCount("SELECT COUNT(*) FROM " + table), before);
    // The dialog stays open with what was typed.
    QCOMPARE(finished.count(), 0);
    QVERIFY(dialog->isVisible());
    const bool course = kind == "course";
    QCOMPARE(dialog->findChild<QLineEdit *>(course ? "leCourseCode" : "leCode")->text(), code);
    QCOMPARE(dialog->findChild<QLineEdit *>(course ? "leCourseName" : "leName")->text(), name);
}

void TestRecordDialogs::failedCourseWriteKeepsWhatWasTyped_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("tableAway");
    QTest::addColumn<QString>("notice");
    QTest::newRow("code already used") << "create" << "K2" << false
                                       << "Thông tin|Tạo khóa học thất bại: mã khóa học đã tồn tại.";
    QTest::newRow("create failed otherwise") << "create" << "K8" << true << "Thông tin|Tạo khóa học thất bại";
    QTest::newRow("change failed") << "change" << "K2" << true << "Thông tin|Cập nhật khóa học thất bại";
}

void TestRecordDialogs::failedCourseWriteKeepsWhatWasTyped()
{
    QFETCH(QString, open);
    QFETCH(QString, code);
    QFETCH(bool, tableAway);
    QFETCH(QString, notice);
    const QString stored = mainValue("SELECT * FROM khoathi WHERE IDKhoaHoc = '" + code + "'");
    const int courses = mainCount("SELECT COUNT(*) FROM khoathi");
    auto *editor = m_courses->findChild<AddCourseDialog *>();
    if (open == "create") {
        click(m_courses.get(), "btnAdd");
        editor->findChild<QLineEdit *>("leCourseCode")->setText(code);
    } else {
        QVERIFY(chooseRow(m_courses.get(), 1, code) >= 0);
        click(m_courses.get(), "btnEdit");
    }
    QVERIFY(editor->isVisible());
    editor->findChild<QLineEdit *>("leCourseName")->setText("Khóa Gõ Lại");
    auto *years = editor->findChild<QComboBox *>("cbYear");
    years->setCurrentIndex(years->findText("2030"));
    // Any failure of the statement but a duplicate code.
    if (tableAway)
        mainSql("RENAME TABLE khoathi TO khoathi_away");
    QSignalSpy finished(editor, &QDialog::finished);
    click(editor, "btnUpdate");
    if (tableAway)
        mainSql("RENAME TABLE khoathi_away TO khoathi");
    QCOMPARE(DialogProbe::shownBoxes(), notice);
    QCOMPARE(finished.count(), 0);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->findChild<QLineEdit *>("leCourseCode")->text(), code);
    QCOMPARE(editor->findChild<QLineEdit *>("leCourseName")->text(), QString("Khóa Gõ Lại"));
    QCOMPARE(years->currentText(), QString("2030"));
    QCOMPARE(mainCount("SELECT COUNT(*) FROM khoathi"), courses);
    QCOMPARE(mainValue("SELECT * FROM khoathi WHERE IDKhoaHoc = '" + code + "'"), stored);
    click(editor, "btnCancel");
}

void TestRecordDialogs::courseCreatedAndChanged()
{
    QSignalSpy changed(m_courses.get(), &ManageCourseDialog::notifyChangeStartingCourse);
    auto *editor = m_courses->findChild<AddCourseDialog *>();
    const int rows = viewOf(m_courses.get())->model()->rowCount();

    click(m_courses.get(), "btnAdd");
    QVERIFY(editor->isVisible());
    // Without the photo option the folder row is hidden.
    QVERIFY(!editor->findChild<QWidget *>("btnBrowseAvatarFolder")->isVisibleTo(editor));
    DialogProbe::screenshot(editor, "addcoursedialog");
    auto *units = editor->findChild<QComboBox *>("cbUnit");
    units->setCurrentIndex(units->findText("U2 - Trung tâm Hai"));
    editor->findChild<QLineEdit *>("leCourseCode")->setText("K9");
    editor->findChild<QLineEdit *>("leCourseName")->setText("Khóa Chín");
    auto *years = editor->findChild<QComboBox *>("cbYear");
    QCOMPARE(years->count(), 100);
    years->setCurrentIndex(years->findText("2020"));
    editor->findChild<QComboBox *>("cbStatus")->setCurrentIndex(2);
    click(editor, "btnUpdate");
    QCOMPARE(DialogProbe::shownBoxes(), QString("Thông tin|Tạo khóa học thành công"));
    QCOMPARE(editor->result(), AddCourseDialog::CreatedCode);
    QCOMPARE(mainValue("SELECT TenKhoaHoc, NamHoc, TrangThai, IDDonVi, TrungTam, HoiDong FROM khoathi"
                       " WHERE IDKhoaHoc = 'K9'"),
             QString("Khóa Chín|2020|3|U2|Trung tâm Hai|Hải Phòng"));
    QCOMPARE(viewOf(m_courses.get())->model()->rowCount(), rows + 1);
    QCOMPARE(changed.count(), 1);

    DialogProbe::hideBoxes();
    QVERIFY(chooseRow(m_courses.get(), 1, "K9") >= 0);
    click(m_courses.get(), "btnEdit");
    QVERIFY(editor->isVisible());
    QVERIFY(editor->findChild<QLineEdit *>("leCourseCode")->isReadOnly());
    QCOMPARE(units->currentText(), QString("U2 - Trung tâm Hai"));
    QCOMPARE(years->currentText(), QString("2020"));
    units->setCurrentIndex(units->findText("U1 - Trung tâm Một"));
    years->setCurrentIndex(years->findText("2021"));
    editor->findChild<QComboBox *>("cbStatus")->setCurrentIndex(1);
    click(editor, "btnUpdate");
    QCOMPARE(DialogProbe::shownBoxes(), QString("Thông tin|Cập nhật khóa học thành công"));
    QCOMPARE(editor->result(), AddCourseDialog::UpdatedCode);
    QCOMPARE(mainValue("SELECT TenKhoaHoc, NamHoc, TrangThai, IDDonVi, TrungTam, HoiDong FROM khoathi"
                       " WHERE IDKhoaHoc = 'K9'"),
             QString("Khóa Chín|2021|2|U1|Trung tâm Một|Hà Nội"));
    const int row = chooseRow(m_courses.get(), 1, "K9");
    const QAbstractItemModel *model = viewOf(m_courses.get())->model();
    QCOMPARE(model->index(row, 0).data().toString(), QString("Trung tâm Một"));
    QCOMPARE(model->index(row, 4).data().toInt(), 2021);
    QCOMPARE(model->index(row, 5).data().toString(), QString("Đang thi"));
    QCOMPARE(changed.count(), 2);

    // A hidden folder row still carries the course's folder.
    DialogProbe::hideBoxes();
    QVERIFY(chooseRow(m_courses.get(), 1, "K2") >= 0);
    click(m_courses.get(), "btnEdit");
    click(editor, "btnUpdate");
    QCOMPARE(mainValue("SELECT GhiChu, IDDonVi FROM khoathi WHERE IDKhoaHoc = 'K2'"),
             QString("anh/k2|U2"));

    // Cancelling changes nothing and announces nothing.
    click(m_courses.get(), "btnEdit");
    click(editor, "btnCancel");
    QCOMPARE(editor->result(), 0);
    QCOMPARE(changed.count(), 3);
}

void TestRecordDialogs::councilAndUnitChanged()
{
    auto *councils = m_provinces->findChild<AddProvinceDialog *>();
    QVERIFY(chooseRow(m_provinces.get(), 0, "T2") >= 0);
    click(m_provinces.get(), "btnEdit");
    QVERIFY(councils->findChild<QLineEdit *>("leCode")->isReadOnly());
    councils->findChild<QLineEdit *>("leName")->setText("Hải Phòng Mới");
    DialogProbe::screenshot(councils, "addprovincedialog");
    click(councils, "btnUpdate");
    QCOMPARE(councils->result(), AddProvinceDialog::UpdatedCode);
    QCOMPARE(mainValue("SELECT TenTinh FROM tinh WHERE IDTinh = 'T2'"), QString("Hải Phòng Mới"));
    QCOMPARE(chooseRow(m_provinces.get(), 1, "Hải Phòng Mới") >= 0, true);

    DialogProbe::hideBoxes();
    click(m_provinces.get(), "btnAdd");
    councils->findChild<QLineEdit *>("leCode")->setText("T5");
    councils->findChild<QLineEdit *>("leName")->setText("Tỉnh Năm");
    click(councils, "btnUpdate");
    QCOMPARE(DialogProbe::shownBoxes(), QString("Thông tin|Tạo hội đồng sát hạch thành công"));
    QCOMPARE(mainValue("SELECT TenTinh FROM tinh WHERE IDTinh = 'T5'"), QString("Tỉnh Năm"));
    QVERIFY(chooseRow(m_provinces.get(), 0, "T5") >= 0);

    // A unit moved to another council.
    DialogProbe::hideBoxes();
    auto *units = m_units->findChild<AddUnitDialog *>();
    QVERIFY(chooseRow(m_units.get(), 0, "U3") >= 0);
    click(m_units.get(), "btnEdit");
    auto *councilBox = units->findChild<QComboBox *>("cbProvince");
    QCOMPARE(councilBox->currentText(), QString("T2 - Hải Phòng Mới"));
    councilBox->setCurrentIndex(councilBox->findText("T5 - Tỉnh Năm"));
    DialogProbe::screenshot(units, "addunitdialog");
    click(units, "btnUpdate");
    QCOMPARE(DialogProbe::shownBoxes(), QString("Thông tin|Cập nhật đơn vị đào tạo thành công"));
    QCOMPARE(mainValue("SELECT IDTinh, TenDonVi FROM donvi WHERE IDDonVi = 'U3'"),
             QString("T5|Trung tâm Ba"));
    const int row = chooseRow(m_units.get(), 0, "U3");
    QCOMPARE(viewOf(m_units.get())->model()->index(row, 2).data().toString(), QString("Tỉnh Năm"));
}

void TestRecordDialogs::deletedUnitIsNotChosenLater()
{
    auto *courseEditor = m_courses->findChild<AddCourseDialog *>();
    auto *unitEditor = m_units->findChild<AddUnitDialog *>();
    // Both editing dialogs have been filled before the deletions.
    click(m_courses.get(), "btnAdd");
    click(courseEditor, "btnCancel");
    click(m_units.get(), "btnAdd");
    click(unitEditor, "btnCancel");

    QVERIFY(chooseRow(m_units.get(), 0, "U0") >= 0);
    click(m_units.get(), "btnDelete");
    click(m_units->findChild<ConfirmDialog *>(), "btnConfirm");
    QCOMPARE(mainCount("SELECT COUNT(*) FROM donvi WHERE IDDonVi = 'U0'"), 0);
    QVERIFY(chooseRow(m_provinces.get(), 0, "T4") >= 0);
    click(m_provinces.get(), "btnDelete");
    click(m_provinces->findChild<ConfirmDialog *>(), "btnConfirm");
    QCOMPARE(mainCount("SELECT COUNT(*) FROM tinh WHERE IDTinh = 'T4'"), 0);

    // The course's unit is renamed meanwhile.
    QVERIFY(chooseRow(m_units.get(), 0, "U2") >= 0);
    click(m_units.get(), "btnEdit");
    unitEditor->findChild<QLineEdit *>("leName")->setText("Trung tâm Hai Mới");
    click(unitEditor, "btnUpdate");
    QCOMPARE(unitEditor->result(), AddUnitDialog::UpdatedCode);

    // The course shows its unit, and saving stores that unit.
    DialogProbe::hideBoxes();
    QVERIFY(chooseRow(m_courses.get(), 1, "K2") >= 0);
    click(m_courses.get(), "btnEdit");
    auto *units = courseEditor->findChild<QComboBox *>("cbUnit");
    QCOMPARE(units->findText("U0 - Trung tâm Rỗng"), -1);
    QCOMPARE(units->currentText(), QString("U2 - Trung tâm Hai Mới"));
    courseEditor->findChild<QLineEdit *>("leCourseName")->setText("Khóa Hai Sửa");
    click(courseEditor, "btnUpdate");
    QCOMPARE(DialogProbe::shownBoxes(), QString("Thông tin|Cập nhật khóa học thành công"));
    QCOMPARE(mainValue("SELECT TenKhoaHoc, IDDonVi, TrungTam FROM khoathi WHERE IDKhoaHoc = 'K2'"),
             QString("Khóa Hai Sửa|U2|Trung tâm Hai Mới"));

    // A new unit can only be tied to a council that is still there.
    DialogProbe::hideBoxes();
    click(m_units.get(), "btnAdd");
    auto *councils = unitEditor->findChild<QComboBox *>("cbProvince");
    QCOMPARE(councils->findText("T4 - Tỉnh Bỏ"), -1);
    unitEditor->findChild<QLineEdit *>("leCode")->setText("U7");
    unitEditor->findChild<QLineEdit *>("leName")->setText("Trung tâm Bảy");
    councils->setCurrentIndex(councils->findText("T1 - Hà Nội"));
    click(unitEditor, "btnUpdate");
    QCOMPARE(DialogProbe::shownBoxes(), QString("Thông tin|Tạo đơn vị đào tạo thành công"));
    QCOMPARE(mainValue("SELECT IDTinh, TenDonVi FROM donvi WHERE IDDonVi = 'U7'"),
             QString("T1|Trung tâm Bảy"));
    const int row = chooseRow(m_units.get(), 0, "U7");
    QVERIFY(row >= 0);
    QCOMPARE(viewOf(m_units.get())->model()->index(row, 2).data().toString(), QString("Hà Nội"));
}

ORV_TEST_MAIN_DESKTOP(TestRecordDialogs)
#include "tst_recorddialogs.moc"
