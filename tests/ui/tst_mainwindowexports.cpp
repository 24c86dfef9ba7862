// The main window's exports against the private MariaDB: the course chosen
// in the export dialog is the one written, the four Excel reports, the two
// XML result forms written through the save dialog, and what the operator
// sees when a save is cancelled or cannot be written.

#include "records/course.h"
#include "server/business/businesscontroller.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/dialogprobe.h"
#include "tests/ui/expectmodal.h"
#include "tests/ui/openedfiles.h"
#include "ui/exportstudentsdialog.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDomDocument>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include <memory>

class TestMainWindowExports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void excelReports_data();
    void excelReports();
    void xmlForms_data();
    void xmlForms();
    void cancelledSave();
    void unwritableTarget();
    void indexOutsideTheList();

private:
    void mainSql(const QString &s) { QVERIFY2(TestDb::exec(m_folder->mainAdmin(), s), qPrintable(s)); }
    // Chooses the course at `index` in the export dialog of `action`, and
    // confirms.
    void exportFrom(const char *action, int index);
    QStringList reportFiles() const;

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<MainWindow> m_window;
    BusinessController *m_controller = nullptr;
    OpenedFiles m_opened;
};

void TestMainWindowExports::initTestCase()
{
    m_folder.reset(new WorkFolder("uiexports"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(QDir(m_folder->path()).mkpath("reportTemplate"));
    for (const char *name : {"Template_BaoCaoTongHop.xlsx", "Template_BaoCaoPhanLoai.xlsx"})
        QVERIFY(QFile::copy(TestDb::sourcePath(QString("reportTemplate/") + name),
                            m_folder->filePath(QString("reportTemplate/") + name)));
    mainSql("INSERT INTO tinh VALUES ('T1', 'Hà Nội')");
    mainSql("INSERT INTO donvi VALUES ('U1', 'T1', 'Trung tâm Một')");
    // Listed newest first: K00 at position 0, K19 at position 19.
    for (int i = 0; i < 20; ++i)
        mainSql(QString("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, HoiDong,"
                        " TrungTam, TrangThai) VALUES ('K%1', 'Khóa %1', 'U1', DATE('2024-06-30') -"
                        " INTERVAL %2 DAY, 2024, 'Hà Nội', 'Trung tâm Một', 3)")
                    .arg(i, 2, 10, QChar('0'))
                    .arg(i));
    mainSql("INSERT INTO thisinh (IDThiSinh, Ma_Dang_Ky, Ma_Ky_SH, HoTen, NgaySinh, SoCMT) VALUES"
            " (1, 'DK1', 'KY1', 'Phạm Văn Đạt', '1990-01-01', '001090000001'),"
            " (2, 'DK2', 'KY1', 'Ngô Thị Trượt', '1991-02-02', '001091000002'),"
            " (3, 'DK3', 'KY1', 'Đinh Văn Vắng', '1992-03-03', '001092000003')");
    mainSql("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong,"
            " DiemChuanMoPhong, KetQuaMoPhong, TrangThai) VALUES"
            " ('K12', 1, '1', 'B2', 40, 35, 'DAT', 2), ('K12', 2, '2', 'B2', 20, 35, 'KHONG DAT', 2),"
            " ('K12', 3, '3', 'B2', -1, 35, NULL, 0)");
    QDesktopServices::setUrlHandler("file", &m_opened, "openUrl");

    m_window.reset(new MainWindow);
    m_controller = BusinessController::getInstance();
    QCOMPARE(m_controller->isDbConnectionFailed(), 0);
    // As the start-up controller does before showing it.
    m_window->initModel();
    m_window->show();
}

void TestMainWindowExports::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler("file");
    m_window.reset();
    m_folder.reset();
}

void TestMainWindowExports::init()
{
    DialogProbe::hideBoxes();
    m_opened.paths.clear();
}

void TestMainWindowExports::exportFrom(const char *action, int index)
{
    m_window->findChild<QAction *>(action)->trigger();
    auto *dialog = m_window->findChild<ExportStudentsDialog *>();
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->isModal());
    auto *courses = dialog->findChild<QComboBox *>("cmbCourse");
    QCOMPARE(courses->count(), 20);
    courses->setCurrentIndex(index);
    dialog->findChild<QPushButton *>("btnOk")->click();
}

QStringList TestMainWindowExports::reportFiles() const
{
    return QDir(m_folder->filePath("reports")).entryList(QDir::Files, QDir::Name);
}

void TestMainWindowExports::excelReports_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("notice");
    QTest::newRow("summary") << "actionExportExcel" << "K12_BaoCaoTongHop.xlsx"
                             << "Xuất danh sách khóa học thành công";
    QTest::newRow("passed") << "actionExportPassedStudents_excel" << "K12_BaoCaoDat.xlsx"
                            << "Xuất danh sách thí sinh ĐẠT của khóa học thành công";
    QTest::newRow("failed") << "actionExportFailedStudents_excel" << "K12_BaoCaoTruot.xlsx"
                            << "Xuất danh sách thí sinh TRƯỢT của khóa học thành công";
    QTest::newRow("absent") << "actionExportAbsentStudents_excel" << "K12_BaoCaoVang.xlsx"
                            << "Xuất danh sách thí sinh VẮNG của khóa học thành công";
}

void TestMainWindowExports::excelReports()
{
    QFETCH(QString, action);
    QFETCH(QString, file);
    QFETCH(QString, notice);
    const QStringList before = reportFiles();
    exportFrom(qPrintable(action), 12);
    QCOMPARE(DialogProbe::shownBoxes(), "Thông tin|" + notice);
    QStringList expected = before;
    if (!expected.contains(file))
        expected << file;
    expected.sort();
    QCOMPARE(reportFiles(), expected);
    QCOMPARE(m_opened.paths, QStringList({QFileInfo(m_folder->filePath("reports/" + file)).absoluteFilePath()}));
}

void TestMainWindowExports::xmlForms_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<bool>("secondForm");
    QTest::newRow("first form") << "actionExport_XML" << "K12" << false;
    QTest::newRow("second form") << "actionKQSHMPXML" << "K12_KQSHMP" << true;
}

void TestMainWindowExports::xmlForms()
{
    QFETCH(QString, action);
    QFETCH(QString, proposed);
    QFETCH(bool, secondForm);
    const QString target = m_folder->filePath(proposed + "-saved.xml");
    QString offered;
    std::unique_ptr<ExpectModal> answer = ExpectModal::of<QFileDialog>([&](QFileDialog *dialog) {
        offered = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        dialog->selectFile(target);
        static_cast<QDialog *>(dialog)->accept();
    });
    exportFrom(qPrintable(action), 12);
    QVERIFY(answer->answered());
    QCOMPARE(offered, proposed);
    QCOMPARE(DialogProbe::shownBoxes(), QString("Cảnh báo|Export thành công."));
    QCOMPARE(m_opened.paths, QStringList({QFileInfo(target).absoluteFilePath()}));

    // The file is the document the writer builds, in UTF-8 with an
    // indentation of 1; only the sending time may differ by the clock.
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QDomDocument shown;
    QVERIFY(shown.setContent(bytes));
    QDomDocument built = secondForm ? m_controller->exportKQSHMPXml("K12") : m_controller->exportXml("K12");
    const QDomElement sentShown = shown.documentElement().firstChildElement("HEADER").firstChildElement("NGAY_GUI");
    QDomElement sentBuilt = built.documentElement().firstChildElement("HEADER").firstChildElement("NGAY_GUI");
    if (!sentBuilt.isNull() && !sentBuilt.firstChild().isNull())
        sentBuilt.firstChild().setNodeValue(sentShown.text());
    QCOMPARE(QString::fromUtf8(bytes), QString::fromUtf8(built.toByteArray(1)));
}

void TestMainWindowExports::cancelledSave()
{
    const QStringList files = QDir(m_folder->path()).entryList(QDir::Files);
    std::unique_ptr<ExpectModal> answer =
        ExpectModal::of<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    QTest::ignoreMessage(QtDebugMsg, "Error saving XML file.");
    exportFrom("actionExport_XML", 12);
    QVERIFY(answer->answered());
    QCOMPARE(DialogProbe::shownBoxes(), QString());
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), files);
    QCOMPARE(m_opened.paths, QStringList());
}

void TestMainWindowExports::unwritableTarget()
{
    const QString target = m_folder->filePath("no/such/folder/K12.xml");
    std::unique_ptr<ExpectModal> answer = ExpectModal::of<QFileDialog>([&](QFileDialog *dialog) {
        dialog->selectFile(target);
        static_cast<QDialog *>(dialog)->accept();
    });
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error saving XML file\\. .*no/such/folder/K12\\.xml"));
    exportFrom("actionKQSHMPXML", 12);
    QVERIFY(answer->answered());
    QCOMPARE(DialogProbe::shownBoxes(), QString("Cảnh báo|Export thất bại."));
    QVERIFY(!QFile::exists(target));
    QCOMPARE(m_opened.paths, QStringList());
}

void TestMainWindowExports::indexOutsideTheList()
{
    auto *dialog = m_window->findChild<ExportStudentsDialog *>();
    const QStringList before = reportFiles();
    // No save dialog may come up; should one, it is cancelled.
    std::unique_ptr<ExpectModal> saveDialog =
        ExpectModal::of<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); }, 200);
    emit dialog->notifyExportExcel(-1);
    emit dialog->notifyExportAbsentStudentsExcel(20);
    emit dialog->notifyExportXml(-1);
    QVERIFY(!saveDialog->answered());
    QCOMPARE(DialogProbe::shownBoxes(), QString());
    QCOMPARE(reportFiles(), before);
    QCOMPARE(m_opened.paths, QStringList());
}

ORV_TEST_MAIN_DESKTOP(TestMainWindowExports)
#include "tst_mainwindowexports.moc"
