// The main window's exports against the private MariaDB: the course chosen
// in the export dialog is the one written, the four Excel reports, the two
// XML result forms written through the save dialog (".xml" added to a name
// given without a suffix), a course code that is no file name as it stands
// ("K02/2026"), and what the operator sees when a save is cancelled or
// cannot be written.

#include "records/course.h"
#include "server/business/businesscontroller.h"
#include "tests/support/dialogprobe.h"
#include "tests/support/modalanswer.h"
#include "tests/support/openedfiles.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/workfolder.h"
#include "ui/exportstudentsdialog.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDomDocument>
#include <QFileDialog>
#include <QLineEdit>
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
    void unwritableReport();
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
    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"U1", "T1", "Trung tâm Một"}}));
    // Listed newest first: K00 at position 0, K19 at position 19; the one
    // at position 2 is coded "K02/2026".
    for (int i = 0; i < 20; ++i)
        mainSql(QString("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, HoiDong,"
                        " TrungTam, TrangThai) VALUES ('K%1%3', 'Khóa %1', 'U1', DATE('2024-06-30') -"
                        " INTERVAL %2 DAY, 2024, 'Hà Nội', 'Trung tâm Một', 3)")
                    .arg(i, 2, 10, QChar('0'))
                    .arg(i)
                    .arg(i == 2 ? "/2026" : ""));
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
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("notice");
    const struct
    {
        const char *name, *action, *file, *what;
    } reports[] = {
        {"summary", "actionExportExcel", "_BaoCaoTongHop.xlsx", "khóa học"},
        {"passed", "actionExportPassedStudents_excel", "_BaoCaoDat.xlsx", "thí sinh ĐẠT của khóa học"},
        {"failed", "actionExportFailedStudents_excel", "_BaoCaoTruot.xlsx", "thí sinh TRƯỢT của khóa học"},
        {"absent", "actionExportAbsentStudents_excel", "_BaoCaoVang.xlsx", "thí sinh VẮNG của khóa học"},
    };
    for (const auto &r : reports) {
        const QString notice = "Xuất danh sách " + QString::fromUtf8(r.what) + " thành công";
        QTest::newRow(r.name) << r.action << 12 << "K12" + QString(r.file) << notice;
        QTest::newRow(qPrintable(QString(r.name) + ", K02/2026"))
            << r.action << 2 << "K02_2026" + QString(r.file) << notice;
    }
}

void TestMainWindowExports::excelReports()
{
    QFETCH(QString, action);
    QFETCH(int, index);
    QFETCH(QString, file);
    QFETCH(QString, notice);
    const QStringList before = reportFiles();
    exportFrom(qPrintable(action), index);
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
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("proposed");
    // The name the operator gives, and the file written.
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("secondForm");
    QTest::newRow("first form") << "actionExport_XML" << 12 << "K12" << "K12-saved.xml" << "K12-saved.xml" << false;
    QTest::newRow("second form") << "actionKQSHMPXML" << 12 << "K12_KQSHMP" << "K12_KQSHMP-saved.xml"
                                 << "K12_KQSHMP-saved.xml" << true;
    QTest::newRow("first form, proposed name kept") << "actionExport_XML" << 12 << "K12" << "K12" << "K12.xml" << false;
    QTest::newRow("second form, proposed name kept")
        << "actionKQSHMPXML" << 12 << "K12_KQSHMP" << "K12_KQSHMP" << "K12_KQSHMP.xml" << true;
    QTest::newRow("K02/2026, proposed name kept")
        << "actionExport_XML" << 2 << "K02_2026" << "K02_2026" << "K02_2026.xml" << false;
    QTest::newRow("K02/2026, second form") << "actionKQSHMPXML" << 2 << "K02_2026_KQSHMP" << "K02_2026_KQSHMP"
                                           << "K02_2026_KQSHMP.xml" << true;
}

void TestMainWindowExports::xmlForms()
{
    QFETCH(QString, action);
    QFETCH(int, index);
    QFETCH(QString, proposed);
    QFETCH(QString, given);
    QFETCH(QString, written);
    QFETCH(bool, secondForm);
    const QString code = index == 2 ? QString("K02/2026") : QString("K12");
    const QString target = m_folder->filePath(written);
    QString offered;
    std::unique_ptr<ModalAnswer> answer = ModalAnswer::of<QFileDialog>([&](QFileDialog *dialog) {
        // As the operator reads it in the name field.
        offered = dialog->findChild<QLineEdit *>("fileNameEdit")->text();
        dialog->selectFile(m_folder->filePath(given));
        static_cast<QDialog *>(dialog)->accept();
    });
    exportFrom(qPrintable(action), index);
    QVERIFY(answer->answered());
    QCOMPARE(offered, proposed);
    QCOMPARE(DialogProbe::shownBoxes(), QString("Cảnh báo|Export thành công."));
    QCOMPARE(m_opened.paths, QStringList({QFileInfo(target).absoluteFilePath()}));
    if (given != written)
        QVERIFY(!QFileInfo::exists(m_folder->filePath(given)));

    // The file is the document the writer builds, in UTF-8 with an
    // indentation of 1; only the sending time may differ by the clock.
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QDomDocument shown;
    QVERIFY(shown.setContent(bytes));
    QDomDocument built = secondForm ? m_controller->exportKQSHMPXml(code) : m_controller->exportXml(code);
    const QDomElement sentShown = shown.documentElement().firstChildElement("HEADER").firstChildElement("NGAY_GUI");
    QDomElement sentBuilt = built.documentElement().firstChildElement("HEADER").firstChildElement("NGAY_GUI");
    if (!sentBuilt.isNull() && !sentBuilt.firstChild().isNull())
        sentBuilt.firstChild().setNodeValue(sentShown.text());
    QCOMPARE(QString::fromUtf8(bytes), QString::fromUtf8(built.toByteArray(1)));
}

void TestMainWindowExports::cancelledSave()
{
    const QStringList files = QDir(m_folder->path()).entryList(QDir::Files);
    std::unique_ptr<ModalAnswer> answer =
        ModalAnswer::of<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
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
    std::unique_ptr<ModalAnswer> answer = ModalAnswer::of<QFileDialog>([&](QFileDialog *dialog) {
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

void TestMainWindowExports::unwritableReport()
{
    // A folder holds the report's name: the notice names the file.
    const QString file = m_folder->filePath("reports/K12_BaoCaoVang.xlsx");
    QFile::remove(file);
    QVERIFY(QDir().mkpath(file));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^XlsxHandler: could not write"));
    exportFrom("actionExportAbsentStudents_excel", 12);
    QVERIFY(QDir().rmdir(file));
    QCOMPARE(DialogProbe::shownBoxes(), "Thông tin|Xuất danh sách thí sinh VẮNG của khóa học thất bại: "
                                            + QFileInfo(file).absoluteFilePath());
    QCOMPARE(m_opened.paths, QStringList());
}

void TestMainWindowExports::indexOutsideTheList()
{
    auto *dialog = m_window->findChild<ExportStudentsDialog *>();
    const QStringList before = reportFiles();
    // No save dialog may come up; should one, it is cancelled.
    std::unique_ptr<ModalAnswer> saveDialog =
        ModalAnswer::of<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); }, 200);
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
