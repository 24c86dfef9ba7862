// The operator's actions on the candidates of the chosen course, through
// the main window's real buttons, context menu and dialogs, against the
// private MariaDB: add, edit, delete with confirmation, reset with a reason,
// and the remembered candidate when the table is reloaded while a dialog is
// open. One window per process; the cases run in order on one course.

#include "models/studentmodel.h"
#include "server/business/businesscontroller.h"
#include "tests/support/imagefile.h"
#include "tests/support/modalanswer.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/typetext.h"
#include "tests/support/workfolder.h"
#include "ui/addstudentdialog.h"
#include "ui/inforesetdialog.h"
#include "ui/mainwindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QScopeGuard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>

#include <memory>

namespace {

QByteArray pngPhoto()
{
    return ImageFile::filled(30, 40, Qt::darkCyan);
}

} // namespace

class TestMainWindowOperations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void noCandidateChosen_data();
    void noCandidateChosen();
    void editRefusedWhenResultSet();
    void editKeepsLeadingZerosAndPhoto();
    void cancelledConfirmationDeletesNothing();
    void afterADeletionTheRightCandidateChanges();
    void contextMenu();
    void printFromTheTable();
    void reloadWhileADialogIsOpen_data();
    void reloadWhileADialogIsOpen();
    void candidateGoneWhileADialogIsOpen_data();
    void candidateGoneWhileADialogIsOpen();
    void add_data();
    void add();
    void addWithoutCourse();

private:
    template <typename T>
    T *widget(const char *name = nullptr) const
    {
        return name ? m_window->findChild<T *>(name) : m_window->findChild<T *>();
    }
    QTableView *table() const { return widget<QTableView>("studentView"); }
    void sql(const QString &statement)
    {
        QVERIFY2(TestDb::exec(m_folder->mainAdmin(), statement), qPrintable(statement.left(100)));
    }
    QVariant scalar(const QString &statement);
    QVariant entry(int id, const QString &column)
    {
        return scalar(QString("SELECT %1 FROM khoathi_thisinh WHERE ID = %2").arg(column).arg(id));
    }
    QVariant person(int id, const QString &column)
    {
        return scalar(QString("SELECT t.%1 FROM thisinh t JOIN khoathi_thisinh k ON k.IDThiSinh = t.IDThiSinh"
                              " WHERE k.ID = %2")
                          .arg(column)
                          .arg(id));
    }
    // The six counters of "Thống kê" as shown, and as counted in the
    // database (total, not sat, sitting, sat, passed, failed).
    QStringList shownCounters() const;
    QStringList countedCounters();
    // Proxy row showing entry `id`, -1 when none.
    int shownRow(int id) const;
    QVariant shownCell(int id, int column) const;
    void selectEntry(int id);
    // "title / text" of the window's message box, which is then closed;
    // empty when none is up.
    QString takeMessage();
    // What a theory refresh does: the course's rows read again, the view's
    // selection gone with the old rows.
    void reload() { BusinessController::getInstance()->loadStudentsOfCourse("K1"); }
    void openEditFor(int id);
    void confirmEdit(const QString &newName);
    void openResetFor(int id);
    // The dialog of `action` ("edit", "delete" or "reset") for the entry.
    void openDialogFor(const QString &action, int id);

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<MainWindow> m_window;
    QByteArray m_photo;
};

QVariant TestMainWindowOperations::scalar(const QString &statement)
{
    QSqlQuery q(m_folder->mainAdmin());
    if (!q.exec(statement) || !q.next())
        return QVariant();
    return q.value(0);
}

QStringList TestMainWindowOperations::shownCounters() const
{
    QStringList texts;
    for (const char *name : {"lbTotal", "lbNotContest", "lbContest", "lbContested", "lbPass", "lbNotPass"})
        texts << m_window->findChild<QLabel *>(name)->text();
    return texts;
}

QStringList TestMainWindowOperations::countedCounters()
{
    QStringList counts;
    for (const char *condition : {"TRUE", "IFNULL(TrangThai, 0) = 0", "TrangThai = 1", "TrangThai = 2",
                                  "KetQuaMoPhong = 'DAT'", "KetQuaMoPhong = 'KHONG DAT'"}) {
        counts << scalar(QString("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = 'K1' AND %1")
                             .arg(condition))
                      .toString();
    }
    return counts;
}

int TestMainWindowOperations::shownRow(int id) const
{
    const QAbstractItemModel *model = table()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, StudentModel::ColumnId).data().toInt() == id)
            return row;
    }
    return -1;
}

QVariant TestMainWindowOperations::shownCell(int id, int column) const
{
    const int row = shownRow(id);
    return row < 0 ? QVariant() : table()->model()->index(row, column).data();
}

void TestMainWindowOperations::selectEntry(int id)
{
    const int row = shownRow(id);
    QVERIFY2(row >= 0, qPrintable(QString("entry %1 not shown").arg(id)));
    table()->selectRow(row);
}

QString TestMainWindowOperations::takeMessage()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("CustomerBox") && w->isVisible()) {
            const QLabel *content = w->findChild<QLabel *>("lbContent");
            const QString message = w->windowTitle() + " / " + (content ? content->text() : QString());
            w->hide();
            return message;
        }
    }
    return QString();
}

void TestMainWindowOperations::initTestCase()
{
    m_folder.reset(new WorkFolder("mwops"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    m_photo = pngPhoto();

    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"U1", "T1", "Trung tâm Một"}}));
    sql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai, TrungTam) VALUES"
        " ('K1', 'Khóa Một', 'U1', CURDATE(), 2, 'Sân Một')");
    struct Entry
    {
        int id;
        const char *name;
        const char *orderNumber;
        int state;
        int score;
        const char *result;
    };
    const Entry entries[] = {
        {101, "Nguyễn Văn Bảy", "007", 0, -1, "NULL"}, {102, "Trần Thị Tám", "8", 2, 40, "'DAT'"},
        {103, "Lê Văn Chín", "9", 0, -1, "NULL"},      {104, "Phạm Thị Mười", "10", 0, -1, "NULL"},
        {105, "Hoàng Văn Mười Một", "11", 2, 20, "'KHONG DAT'"},
        {106, "Đỗ Thị Mười Hai", "12", 0, -1, "NULL"}, {107, "Vũ Văn Mười Ba", "13", 0, -1, "NULL"},
        {108, "Bùi Thị Mười Bốn", "14", 2, 41, "'DAT'"}, {109, "Ngô Văn Mười Lăm", "15", 0, -1, "NULL"},
        {110, "Dương Thị Mười Sáu", "16", 0, -1, "NULL"}, {111, "Lý Văn Mười Bảy", "17", 2, 30, "'KHONG DAT'"},
    };
    for (const Entry &e : entries) {
        sql(QString("INSERT INTO thisinh (IDThiSinh, HoTen, GioiTinh, NgaySinh, SoCMT) VALUES (%1, '%2', 'F',"
                    " '1990-03-04', '0010000%1')")
                .arg(e.id)
                .arg(QString::fromUtf8(e.name)));
        sql(QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong,"
                    " DiemChuanMoPhong, TrangThai, KetQuaMoPhong, NoiDungSH, AnhChanDung) VALUES"
                    " (%1, 'K1', %1, '%2', 'B2', %3, 35, %4, %5, '1', %6)")
                .arg(e.id)
                .arg(e.orderNumber)
                .arg(e.score)
                .arg(e.state)
                .arg(QString::fromUtf8(e.result))
                .arg(e.id == 101 ? "'" + QString::fromLatin1(m_photo.toBase64()) + "'" : QString("NULL")));
    }

    m_window.reset(new MainWindow());
    m_window->initModel();
    m_window->showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QComboBox *combo = widget<QComboBox>("cmbCourse");
    combo->setCurrentIndex(combo->findData("K1"));
    QCOMPARE(table()->model()->rowCount(), 11);
}

void TestMainWindowOperations::cleanupTestCase()
{
    m_window.reset();
    m_folder.reset();
}

void TestMainWindowOperations::init()
{
    takeMessage();
}

void TestMainWindowOperations::noCandidateChosen_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("edit") << "btnEdit";
    QTest::newRow("delete") << "btnDelete";
    QTest::newRow("reset") << "reset";
}

void TestMainWindowOperations::noCandidateChosen()
{
    QFETCH(QString, button);
    table()->clearSelection();
    table()->setCurrentIndex(QModelIndex());
    if (button == "reset")
        QMetaObject::invokeMethod(m_window.get(), "on_resetAccount");
    else
        widget<QPushButton>(qPrintable(button))->click();
    QCOMPARE(takeMessage(), QString("Thông tin / Bạn chưa lựa chọn học viên"));
    QVERIFY(!widget<AddStudentDialog>()->isVisible());
    QVERIFY(!widget<InfoResetDialog>()->isVisible());
    QVERIFY(!widget<QDialog>("ConfirmDialog")->isVisible());
}

void TestMainWindowOperations::editRefusedWhenResultSet()
{
    selectEntry(102);
    widget<QPushButton>("btnEdit")->click();
    QCOMPARE(takeMessage(), QString("Thông tin / Thí sinh đã thi, không thể sửa thông tin"));
    QVERIFY(!widget<AddStudentDialog>()->isVisible());
}

void TestMainWindowOperations::openEditFor(int id)
{
    selectEntry(id);
    widget<QPushButton>("btnEdit")->click();
    QVERIFY(widget<AddStudentDialog>()->isVisible());
}

void TestMainWindowOperations::confirmEdit(const QString &newName)
{
    AddStudentDialog *dialog = widget<AddStudentDialog>();
    QLineEdit *name = dialog->findChild<QLineEdit *>("leName");
    name->clear();
    typeText(name, newName);
    dialog->findChild<QPushButton *>("btnConfirm")->click();
}

void TestMainWindowOperations::editKeepsLeadingZerosAndPhoto()
{
    QCOMPARE(shownCell(101, StudentModel::ColumnOrderNumber).toInt(), 7);
    openEditFor(101);
    AddStudentDialog *dialog = widget<AddStudentDialog>();
    QCOMPARE(dialog->findChild<QLineEdit *>("leOrderNumber")->text(), QString("007"));
    QCOMPARE(dialog->findChild<QLabel *>("labelPath")->text(), QString("Ảnh chân dung"));
    QCOMPARE(dialog->findChild<QDateEdit *>("dateEdit")->date(), QDate(1990, 3, 4));
    QCOMPARE(dialog->findChild<QComboBox *>("comboBox")->currentText(), QString("F"));
    confirmEdit("Nguyễn Văn Bảy Mới");
    QCOMPARE(takeMessage(), QString("Thông tin / Cập nhật học viên thành công"));

    QCOMPARE(entry(101, "SoBaoDanh").toString(), QString("007"));
    QCOMPARE(QByteArray::fromBase64(entry(101, "AnhChanDung").toByteArray()), m_photo);
    QCOMPARE(person(101, "HoTen").toString(), QString("Nguyễn Văn Bảy Mới"));
    QCOMPARE(shownCell(101, StudentModel::ColumnName).toString(), QString("Nguyễn Văn Bảy Mới"));
    // Still shown as a number.
    QCOMPARE(shownCell(101, StudentModel::ColumnOrderNumber).toInt(), 7);
}

void TestMainWindowOperations::cancelledConfirmationDeletesNothing()
{
    const int before = scalar("SELECT COUNT(*) FROM khoathi_thisinh").toInt();
    selectEntry(103);
    widget<QPushButton>("btnDelete")->click();
    QDialog *confirm = widget<QDialog>("ConfirmDialog");
    QVERIFY(confirm->isVisible());
    confirm->findChild<QPushButton *>("btnCancel")->click();
    QVERIFY(!confirm->isVisible());
    QCOMPARE(takeMessage(), QString());
    QCOMPARE(scalar("SELECT COUNT(*) FROM khoathi_thisinh").toInt(), before);
    QVERIFY(shownRow(103) >= 0);
}

void TestMainWindowOperations::openResetFor(int id)
{
    selectEntry(id);
    QMetaObject::invokeMethod(m_window.get(), "on_resetAccount");
    QVERIFY(widget<InfoResetDialog>()->isVisible());
}

void TestMainWindowOperations::openDialogFor(const QString &action, int id)
{
    if (action == "edit") {
        openEditFor(id);
    } else if (action == "delete") {
        selectEntry(id);
        widget<QPushButton>("btnDelete")->click();
    } else {
        openResetFor(id);
    }
}

void TestMainWindowOperations::afterADeletionTheRightCandidateChanges()
{
    selectEntry(103);
    widget<QPushButton>("btnDelete")->click();
    widget<QDialog>("ConfirmDialog")->findChild<QPushButton *>("btnConfirm")->click();
    QCOMPARE(takeMessage(), QString("Thông tin / Xóa thông tin học viên thành công"));
    QCOMPARE(entry(103, "COUNT(*)").toInt(), 0);
    QCOMPARE(shownRow(103), -1);

    // The rows after it moved up by one.
    openEditFor(104);
    confirmEdit("Phạm Thị Mười Mới");
    QCOMPARE(takeMessage(), QString("Thông tin / Cập nhật học viên thành công"));
    QCOMPARE(person(104, "HoTen").toString(), QString("Phạm Thị Mười Mới"));
    QCOMPARE(shownCell(104, StudentModel::ColumnName).toString(), QString("Phạm Thị Mười Mới"));
    QCOMPARE(person(105, "HoTen").toString(), QString("Hoàng Văn Mười Một"));

    const QStringList countersBefore = shownCounters();
    QCOMPARE(countersBefore, countedCounters());
    openResetFor(105);
    InfoResetDialog *reset = widget<InfoResetDialog>();
    typeText(reset->findChild<QLineEdit *>("leComment"), "Máy hỏng");
    reset->findChild<QPushButton *>("startButton")->click();
    QCOMPARE(takeMessage(), QString("Thông tin / Thiết lập lại thông tin thành công"));
    // A finished and failed candidate is waiting again, counted at once.
    QCOMPARE(shownCounters(), countedCounters());
    QVERIFY(shownCounters() != countersBefore);
    QCOMPARE(entry(105, "DiemMoPhong").toInt(), -1);
    QVERIFY(entry(105, "KetQuaMoPhong").toString().isEmpty());
    QVERIFY(entry(105, "GhiChu").toString().endsWith("#Máy hỏng"));
    QCOMPARE(shownCell(105, StudentModel::ColumnResult).toString(), QString());
    QCOMPARE(shownCell(105, StudentModel::ColumnScore).toString(), QString());
    // The neighbours kept their results.
    QCOMPARE(entry(102, "KetQuaMoPhong").toString(), QString("DAT"));
    QCOMPARE(entry(108, "KetQuaMoPhong").toString(), QString("DAT"));
}

void TestMainWindowOperations::contextMenu()
{
    selectEntry(111);
    QStringList texts;
    auto menu = ModalAnswer::popup<QMenu>([&texts](QMenu *m) {
        for (QAction *a : m->actions())
            texts << a->text();
        m->setActiveAction(m->actions().value(1));
        QTest::keyClick(m, Qt::Key_Return);
    });
    emit table()->customContextMenuRequested(table()->visualRect(table()->currentIndex()).center());
    QVERIFY(menu->answered());
    QCOMPARE(texts, (QStringList{"In kết quả", "Thiết lập lại"}));
    QVERIFY(widget<InfoResetDialog>()->isVisible());
    widget<InfoResetDialog>()->findChild<QPushButton *>("btnCancel")->click();
    QCOMPARE(entry(111, "KetQuaMoPhong").toString(), QString("KHONG DAT"));

    // "In kết quả" asks for the sheet of the selected candidate: with none
    // selected it says so.
    table()->clearSelection();
    auto first = ModalAnswer::popup<QMenu>([](QMenu *m) {
        m->setActiveAction(m->actions().value(0));
        QTest::keyClick(m, Qt::Key_Return);
    });
    emit table()->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(first->answered());
    QCOMPARE(takeMessage(), QString("Thông tin / Bạn chưa lựa chọn học viên"));
    // The menu is built for each request and discarded.
    const auto menus = m_window->findChildren<QMenu *>();
    for (const QMenu *m : menus)
        QVERIFY(m->title() != "Context menu");
}

void TestMainWindowOperations::printFromTheTable()
{
    // (The menu's "In kết quả" is this slot: see contextMenu.)
    selectEntry(102);

    QFile source(TestDb::sourcePath("reportTemplate/orv04.lrxml"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray shipped = source.readAll();
    QVERIFY(QDir(m_folder->path()).mkpath("reportTemplate"));

    // An altered template: the sheet is refused.
    QByteArray altered = shipped;
    altered[altered.size() / 2] = altered.at(altered.size() / 2) ^ 1;
    QVERIFY(m_folder->writeFile("reportTemplate/orv04.lrxml", altered));
    {
        auto box = ModalAnswer::messageBox();
        QMetaObject::invokeMethod(m_window.get(), "onPrintProcess");
        QVERIFY(box->answered());
        QCOMPARE(box->title(), QString("Cảnh báo"));
        QCOMPARE(box->text(), QString("Không in báo cáo do tập tin mẫu báo cáo đã bị thay đổi!!!"));
    }

    // With the shipped template the sheet is shown, modal.
    QVERIFY(m_folder->writeFile("reportTemplate/orv04.lrxml", shipped));
    QMetaObject::invokeMethod(m_window.get(), "onPrintProcess");
    QWidget *sheet = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("PrintDialog") && w->isVisible())
            sheet = w;
    }
    QVERIFY(sheet);
    QVERIFY(sheet->isModal());
    sheet->hide();
    QCOMPARE(takeMessage(), QString());
}

void TestMainWindowOperations::reloadWhileADialogIsOpen_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("id");
    QTest::newRow("edit") << "edit" << 106;
    QTest::newRow("delete") << "delete" << 107;
    QTest::newRow("reset") << "reset" << 108;
}

void TestMainWindowOperations::reloadWhileADialogIsOpen()
{
    QFETCH(QString, action);
    QFETCH(int, id);

    openDialogFor(action, id);
    // A terminal's result or a theory refresh reloads the table: the
    // selection is gone when the operator confirms.
    reload();
    QVERIFY(!table()->selectionModel()->hasSelection());

    if (action == "edit") {
        confirmEdit("Đã Sửa");
        QCOMPARE(takeMessage(), QString("Thông tin / Cập nhật học viên thành công"));
        QCOMPARE(person(id, "HoTen").toString(), QString("Đã Sửa"));
        QCOMPARE(shownCell(id, StudentModel::ColumnName).toString(), QString("Đã Sửa"));
    } else if (action == "delete") {
        widget<QDialog>("ConfirmDialog")->findChild<QPushButton *>("btnConfirm")->click();
        QCOMPARE(takeMessage(), QString("Thông tin / Xóa thông tin học viên thành công"));
        QCOMPARE(entry(id, "COUNT(*)").toInt(), 0);
        QCOMPARE(shownRow(id), -1);
    } else {
        InfoResetDialog *reset = widget<InfoResetDialog>();
        typeText(reset->findChild<QLineEdit *>("leComment"), "Thi lại");
        reset->findChild<QPushButton *>("startButton")->click();
        QCOMPARE(takeMessage(), QString("Thông tin / Thiết lập lại thông tin thành công"));
        QCOMPARE(entry(id, "DiemMoPhong").toInt(), -1);
        QCOMPARE(shownCell(id, StudentModel::ColumnResult).toString(), QString());
    }
    // Nobody else was touched.
    QCOMPARE(person(110, "HoTen").toString(), QString("Dương Thị Mười Sáu"));
    QCOMPARE(entry(111, "KetQuaMoPhong").toString(), QString("KHONG DAT"));
}

void TestMainWindowOperations::candidateGoneWhileADialogIsOpen_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("failure");
    QTest::newRow("edit") << "edit" << "Thông tin / Cập nhật học viên thất bại";
    QTest::newRow("delete") << "delete" << "Thông tin / Xóa thông tin học viên thất bại";
    QTest::newRow("reset") << "reset" << "Thông tin / Thiết lập lại thông tin thất bại";
}

void TestMainWindowOperations::candidateGoneWhileADialogIsOpen()
{
    QFETCH(QString, action);
    QFETCH(QString, failure);
    // A fresh candidate for each row, removed behind the dialog's back.
    static int next = 120;
    const int id = next++;
    sql(QString("INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) VALUES (%1, 'Tạm', '1990-01-01', '%1')")
            .arg(id));
    sql(QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, DiemMoPhong)"
                " VALUES (%1, 'K1', %1, '%1', 0, -1)")
            .arg(id));
    reload();
    openDialogFor(action, id);
    sql(QString("DELETE FROM khoathi_thisinh WHERE ID = %1").arg(id));
    reload();
    const int rows = table()->model()->rowCount();

    if (action == "edit") {
        confirmEdit("Không Ai");
    } else if (action == "delete") {
        widget<QDialog>("ConfirmDialog")->findChild<QPushButton *>("btnConfirm")->click();
    } else {
        InfoResetDialog *reset = widget<InfoResetDialog>();
        typeText(reset->findChild<QLineEdit *>("leComment"), "x");
        reset->findChild<QPushButton *>("startButton")->click();
    }
    QCOMPARE(takeMessage(), failure);
    QCOMPARE(table()->model()->rowCount(), rows);
}

void TestMainWindowOperations::add_data()
{
    QTest::addColumn<QString>("orderNumber");
    QTest::addColumn<QString>("licenceClass");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("added");
    // The table gains a column the insert gives no value: the statement
    // fails.
    QTest::addColumn<bool>("refusingTable");
    QTest::newRow("new candidate") << "30" << "B2" << "Thông tin / Thêm học viên thành công" << true << false;
    // The database's own refusal of the order number.
    QTest::newRow("order number taken") << "30" << "B2" << "Thông tin / SoBaoDanh is exist" << false << false;
    // A failed statement comes back without a message of its own.
    QTest::newRow("database error") << "31" << "B2" << "Thông tin / Thêm học viên thất bại" << false << true;
}

void TestMainWindowOperations::add()
{
    QFETCH(QString, orderNumber);
    QFETCH(QString, licenceClass);
    QFETCH(QString, message);
    QFETCH(bool, added);
    QFETCH(bool, refusingTable);
    if (refusingTable)
        sql("ALTER TABLE khoathi_thisinh ADD COLUMN Refused INT NOT NULL");
    const auto restoreTable = qScopeGuard([this, refusingTable] {
        if (refusingTable)
            sql("ALTER TABLE khoathi_thisinh DROP COLUMN Refused");
    });

    const int rows = table()->model()->rowCount();
    widget<QPushButton>("btnAdd")->click();
    AddStudentDialog *dialog = widget<AddStudentDialog>();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->findChild<QLineEdit *>("leName")->text(), QString());
    typeText(dialog->findChild<QLineEdit *>("leName"), "Cao Văn Mới");
    typeText(dialog->findChild<QLineEdit *>("leOrderNumber"), orderNumber);
    typeText(dialog->findChild<QLineEdit *>("leRank"), licenceClass);
    typeText(dialog->findChild<QLineEdit *>("leId"), "0019" + orderNumber);
    dialog->findChild<QPushButton *>("btnConfirm")->click();
    QCOMPARE(takeMessage(), message);
    QCOMPARE(table()->model()->rowCount(), rows + (added ? 1 : 0));
    if (!added) {
        // Opened again, the dialog holds what was typed, to be corrected;
        // cancelled, it forgets it.
        widget<QPushButton>("btnAdd")->click();
        QCOMPARE(dialog->findChild<QLineEdit *>("leName")->text(), QString("Cao Văn Mới"));
        QCOMPARE(dialog->findChild<QLineEdit *>("leOrderNumber")->text(), orderNumber);
        QCOMPARE(dialog->findChild<QLineEdit *>("leRank")->text(), licenceClass);
        QCOMPARE(dialog->findChild<QLineEdit *>("leId")->text(), "0019" + orderNumber);
        dialog->findChild<QPushButton *>("btnCancel")->click();
    }
    if (added) {
        QCOMPARE(scalar(QString("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = 'K1' AND SoBaoDanh = '%1'")
                            .arg(orderNumber))
                     .toInt(),
                 1);
    }
}

void TestMainWindowOperations::addWithoutCourse()
{
    widget<QComboBox>("cmbCourse")->setCurrentIndex(0);
    widget<QPushButton>("btnAdd")->click();
    AddStudentDialog *dialog = widget<AddStudentDialog>();
    typeText(dialog->findChild<QLineEdit *>("leOrderNumber"), "40");
    dialog->findChild<QPushButton *>("btnConfirm")->click();
    QCOMPARE(takeMessage(), QString("Thông tin / Thêm học viên không thành công vì chưa chọn khóa học"));
    QCOMPARE(scalar("SELECT COUNT(*) FROM khoathi_thisinh WHERE SoBaoDanh = '40'").toInt(), 0);
}

ORV_TEST_MAIN_DESKTOP(TestMainWindowOperations)
#include "tst_mainwindowoperations.moc"
