// The operator's window while the main database is away: one notice per
// outage, also when only the terminals found it, the table and counters kept as they were, the window reading again
// by itself once the database is back, and exports that leave the files they
// would have replaced as they were.

#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/protocol/contestentermessage.h"
#include "tests/support/ownmariadb.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/workfolder.h"
#include "tests/support/dialogprobe.h"
#include "tests/support/modalanswer.h"
#include "tests/support/openedfiles.h"
#include "ui/exportstudentsdialog.h"
#include "ui/mainwindow.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>

#include <memory>

namespace {

const QString OUTAGE_NOTICE =
    QStringLiteral("Cảnh báo|Máy chủ không kết nối được cơ sở dữ liệu MySql mô phỏng");

} // namespace

class TestWindowOutage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void exportsLeaveTheirFiles_data();
    void exportsLeaveTheirFiles();
    void noticeOncePerOutage();
    void terminalsAloneBringTheNotice();
    void courseChosenDuringOutage_data();
    void courseChosenDuringOutage();

private:
    void mainSql(const QString &statement);
    // The six counters, then every cell of the candidate table.
    QStringList shown() const;
    void refresh();
    void exportFrom(const QString &action);
    void stopDatabase() { QVERIFY(m_database.stop()); }
    void startDatabase();

    OwnMariaDb m_database;
    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<MainWindow> m_window;
    OpenedFiles m_opened;
};

void TestWindowOutage::mainSql(const QString &statement)
{
    QSqlDatabase db = m_folder->mainAdmin();
    QSqlQuery probe(db);
    if (!probe.exec("SELECT 1")) {
        db.close();
        db.open();
    }
    QVERIFY2(TestDb::exec(db, statement), qPrintable(statement));
}

void TestWindowOutage::startDatabase()
{
    QString error;
    QVERIFY2(m_database.start(&error), qPrintable(error));
}

void TestWindowOutage::initTestCase()
{
    QString error;
    QVERIFY2(m_database.start(&error), qPrintable(error));
    m_database.exportToEnvironment();
    WorkFolder::Options options;
    options.auxReadOnly = false;
    m_folder.reset(new WorkFolder("outwin", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(QDir(m_folder->path()).mkpath("reportTemplate"));
    for (const char *name : {"Template_BaoCaoTongHop.xlsx", "Template_BaoCaoPhanLoai.xlsx"})
        QVERIFY(QFile::copy(TestDb::sourcePath(QString("reportTemplate/") + name),
                            m_folder->filePath(QString("reportTemplate/") + name)));
    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"U1", "T1", "Trung tâm Một"}}));
    mainSql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, HoiDong, TrungTam, TrangThai)"
            " VALUES ('K1', 'Khóa một', 'U1', CURDATE(), 2024, 'Hà Nội', 'Trung tâm Một', 2)");
    mainSql("INSERT INTO thisinh (IDThiSinh, Ma_Dang_Ky, Ma_Ky_SH, HoTen, NgaySinh, SoCMT) VALUES"
            " (1, 'DK1', 'KY1', 'Phạm Văn Đạt', '1990-01-01', '001090000001'),"
            " (2, 'DK2', 'KY1', 'Ngô Thị Trượt', '1991-02-02', '001091000002'),"
            " (3, 'DK3', 'KY1', 'Đinh Văn Thi', '1992-03-03', '001092000003')");
    mainSql("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong,"
            " DiemChuanMoPhong, KetQuaMoPhong, TrangThai) VALUES"
            " (1, 'K1', 1, '1', 'B2', 40, 35, 'DAT', 2), (2, 'K1', 2, '2', 'B2', 20, 35, 'KHONG DAT', 2),"
            " (3, 'K1', 3, '3', 'B2', NULL, NULL, NULL, 1)");
    // An examined course of the day before, listed after the first.
    mainSql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, HoiDong, TrungTam, TrangThai)"
            " VALUES ('K2', 'Khóa hai', 'U1', CURDATE() - INTERVAL 1 DAY, 2024, 'Hà Nội', 'Trung tâm Một', 3)");
    mainSql("INSERT INTO thisinh (IDThiSinh, Ma_Dang_Ky, Ma_Ky_SH, HoTen, NgaySinh, SoCMT) VALUES"
            " (4, 'DK4', 'KY2', 'Lê Văn Hai', '1993-04-04', '001093000004')");
    mainSql("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong,"
            " DiemChuanMoPhong, KetQuaMoPhong, TrangThai) VALUES (4, 'K2', 4, '1', 'B2', 45, 35, 'DAT', 2)");
    QDesktopServices::setUrlHandler("file", &m_opened, "openUrl");

    m_window.reset(new MainWindow);
    QCOMPARE(BusinessController::getInstance()->isDbConnectionFailed(), 0);
    m_window->initModel();
    m_window->show();
    m_window->findChild<QComboBox *>("cmbCourse")->setCurrentIndex(1);
    QCOMPARE(m_window->findChild<QTableView *>("studentView")->model()->rowCount(), 3);
    QCOMPARE(m_window->findChild<QLabel *>("lbTotal")->text(), QString("3"));
}

void TestWindowOutage::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler("file");
    m_window.reset();
    m_folder.reset();
    m_database.stop();
}

void TestWindowOutage::init()
{
    DialogProbe::hideBoxes();
}

void TestWindowOutage::cleanup()
{
    if (!m_database.isRunning())
        startDatabase();
}

QStringList TestWindowOutage::shown() const
{
    QStringList texts;
    for (const char *name : {"lbTotal", "lbNotContest", "lbContest", "lbContested", "lbPass", "lbNotPass"})
        texts << m_window->findChild<QLabel *>(name)->text();
    const QAbstractItemModel *model = m_window->findChild<QTableView *>("studentView")->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column)
            texts << model->index(row, column).data().toString();
    }
    return texts;
}

void TestWindowOutage::refresh()
{
    // What a terminal's event makes the window do.
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), "on_updateStudentTable"));
}

void TestWindowOutage::exportFrom(const QString &action)
{
    m_window->findChild<QAction *>(action)->trigger();
    auto *dialog = m_window->findChild<ExportStudentsDialog *>();
    QVERIFY(dialog->isVisible());
    dialog->findChild<QComboBox *>("cmbCourse")->setCurrentIndex(0);
    dialog->findChild<QPushButton *>("btnOk")->click();
}

void TestWindowOutage::exportsLeaveTheirFiles_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("failed");
    QTest::newRow("Excel summary") << "actionExportExcel" << "reports/K1_BaoCaoTongHop.xlsx"
                                   << "Thông tin|Xuất danh sách khóa học thành công"
                                   << "Thông tin|Xuất danh sách khóa học thất bại";
    QTest::newRow("absent candidates") << "actionExportAbsentStudents_excel" << "reports/K1_BaoCaoVang.xlsx"
                                       << "Thông tin|Xuất danh sách thí sinh VẮNG của khóa học thành công"
                                       << "Thông tin|Xuất danh sách thí sinh VẮNG của khóa học thất bại";
    QTest::newRow("first XML form") << "actionExport_XML" << "K1.xml" << "Cảnh báo|Export thành công."
                                    << "Cảnh báo|Export thất bại.";
    QTest::newRow("second XML form") << "actionKQSHMPXML" << "K1_KQSHMP.xml" << "Cảnh báo|Export thành công."
                                     << "Cảnh báo|Export thất bại.";
}

void TestWindowOutage::exportsLeaveTheirFiles()
{
    QFETCH(QString, action);
    QFETCH(QString, file);
    QFETCH(QString, saved);
    QFETCH(QString, failed);
    const QString path = m_folder->filePath(file);
    const bool xml = file.endsWith(".xml");
    auto answerSave = [&]() {
        return ModalAnswer::of<QFileDialog>([&](QFileDialog *dialog) {
            // The second time the file is there: replacing it is the point.
            dialog->setOption(QFileDialog::DontConfirmOverwrite);
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();
        });
    };

    std::unique_ptr<ModalAnswer> answer;
    if (xml)
        answer = answerSave();
    exportFrom(action);
    QCOMPARE(DialogProbe::shownBoxes(), saved);
    const QByteArray before = m_folder->readFile(file);
    QVERIFY(!before.isEmpty());

    DialogProbe::hideBoxes();
    stopDatabase();
    if (xml)
        answer = answerSave();
    exportFrom(action);
    if (xml)
        QVERIFY(answer->answered());
    // A report that could not be written names its file.
    QCOMPARE(DialogProbe::shownBoxes(), xml ? failed : failed + ": " + QFileInfo(path).absoluteFilePath());
    QCOMPARE(m_folder->readFile(file), before);
}

void TestWindowOutage::noticeOncePerOutage()
{
    const QStringList before = shown();
    // Stored while the window is not looking: it shows this only once it
    // reads again after the outage.
    mainSql("UPDATE khoathi_thisinh SET TrangThai = 2, DiemMoPhong = 38, DiemChuanMoPhong = 35,"
            " KetQuaMoPhong = 'DAT' WHERE ID = 3");

    stopDatabase();
    refresh();
    QCOMPARE(DialogProbe::shownBoxes(), OUTAGE_NOTICE);
    QCOMPARE(shown(), before);

    // Told once: neither the next event nor the window's own reading during
    // the outage brings the notice back.
    DialogProbe::hideBoxes();
    refresh();
    QTest::qWait(5500);
    QCOMPARE(DialogProbe::shownBoxes(), QString());
    QCOMPARE(shown(), before);

    startDatabase();
    QTRY_COMPARE_WITH_TIMEOUT(m_window->findChild<QLabel *>("lbPass")->text(), QString("2"), 10000);
    QVERIFY(shown() != before);
    QCOMPARE(DialogProbe::shownBoxes(), QString());

    // A later outage is told again.
    stopDatabase();
    refresh();
    QCOMPARE(DialogProbe::shownBoxes(), OUTAGE_NOTICE);
}

// Candidates turned away at the door are an outage the operator must hear
// of, though the window itself read nothing: told once, however many
// terminals find it.
void TestWindowOutage::terminalsAloneBringTheNotice()
{
    BusinessControllerClient *terminals = BusinessControllerClient::getInstance();
    const ContestEnterMessage admission;
    stopDatabase();
    for (quint64 terminal : {901, 902, 903}) {
        terminals->onClientAccepted(terminal);
        terminals->onMessageArriving(terminal, admission);
        terminals->orderNumberUpdated(terminal, "K1", "3");
    }
    QTRY_COMPARE(DialogProbe::shownBoxes(), OUTAGE_NOTICE);
    DialogProbe::hideBoxes();
    terminals->orderNumberUpdated(901, "K1", "3");
    QTest::qWait(500);
    QCOMPARE(DialogProbe::shownBoxes(), QString());
    for (quint64 terminal : {901, 902, 903})
        terminals->onClientRemoved(terminal);
}

void TestWindowOutage::courseChosenDuringOutage_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::newRow("another course") << "K2 – Khóa hai";
    QTest::newRow("the prompt") << "Chọn khóa thi...";
}

void TestWindowOutage::courseChosenDuringOutage()
{
    QFETCH(QString, chosen);
    auto *combo = m_window->findChild<QComboBox *>("cmbCourse");
    auto *title = m_window->findChild<QLabel *>("lbCourse2");
    QCOMPARE(combo->currentText(), QString("K1 – Khóa một"));
    QCOMPARE(title->text(), QString("Khóa một"));
    const QStringList before = shown();

    // The rows cannot be read: those kept stay under their own course's name.
    stopDatabase();
    combo->setCurrentIndex(combo->findText(chosen));
    QCOMPARE(shown(), before);
    QCOMPARE(combo->currentText(), QString("K1 – Khóa một"));
    QCOMPARE(title->text(), QString("Khóa một"));
    QCOMPARE(BusinessController::getInstance()->getCurrentCourse()->getIDKhoaHoc(), QString("K1"));

    // Once the database answers, what is chosen is read and shown together.
    startDatabase();
    combo->setCurrentIndex(combo->findData("K2"));
    QCOMPARE(title->text(), QString("Khóa hai"));
    QCOMPARE(m_window->findChild<QTableView *>("studentView")->model()->rowCount(), 1);
    QCOMPARE(m_window->findChild<QLabel *>("lbTotal")->text(), QString("1"));
    combo->setCurrentIndex(combo->findData("K1"));
    QCOMPARE(m_window->findChild<QTableView *>("studentView")->model()->rowCount(), 3);
}

ORV_TEST_MAIN_WIDGETS(TestWindowOutage)
#include "tst_windowoutage.moc"
