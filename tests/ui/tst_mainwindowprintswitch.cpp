// Printing switched on while the server runs: started with automatic
// printing off, a result makes no sheet; once the operator saves "Có (in
// pdf)" in the configuration dialog, the next result's sheet is written to
// ./pdf without a restart.

#include "server/business/businesscontroller.h"
#include "server/network/iocontroller.h"
#include "tests/support/modalanswer.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/terminalsteps.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/testterminal.h"
#include "tests/support/testterminalmessages.h"
#include "tests/support/workfolder.h"
#include "ui/configdialog.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSet>

#include <memory>

namespace {

using Messages = TestTerminalMessages;
using TerminalSteps::clientIds;

const int PRINT_PERIOD_MS = 300;

struct Candidate
{
    int id;
    QByteArray orderNumber;
};

const Candidate BEFORE = {41, "1"};
const Candidate AFTER = {42, "2"};

QString pdfOf(const Candidate &c)
{
    return "pdf/C1_" + QString::fromLatin1(c.orderNumber) + ".pdf";
}

} // namespace

class TestMainWindowPrintSwitch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void noSheetWhileOff();
    void pdfOnceSwitchedOn();

private:
    void sql(const QString &statement)
    {
        QVERIFY2(TestDb::exec(m_folder->mainAdmin(), statement), qPrintable(statement.left(100)));
    }
    // The candidate sits the test on the terminal: admitted, started, result.
    void sit(const Candidate &c);

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<MainWindow> m_window;
    TestTerminal m_terminal;
};

void TestMainWindowPrintSwitch::initTestCase()
{
    WorkFolder::Options options;
    options.autoPrint = 0;
    m_folder.reset(new WorkFolder("mwprintswitch", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(QDir(m_folder->path()).mkpath("reportTemplate"));
    for (const QString name : {"orv04.lrxml", "orv04_new.lrxml"}) {
        QFile source(TestDb::sourcePath("reportTemplate/" + name));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QVERIFY(m_folder->writeFile("reportTemplate/" + name, source.readAll()));
    }

    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"U1", "T1", "Trung tâm Một"}}));
    sql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai, TrungTam) VALUES"
        " ('C1', 'C1', 'U1', CURDATE(), 2, 'Sân sát hạch Một')");
    for (const Candidate &c : {BEFORE, AFTER}) {
        sql(QString("INSERT INTO thisinh (IDThiSinh, HoTen, GioiTinh, NgaySinh, SoCMT) VALUES (%1, 'Thí sinh %1',"
                    " 'M', '1990-05-17', '0012345678%1')")
                .arg(c.id));
        sql(QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, TrangThai,"
                    " NoiDungSH, DiemMoPhong, DiemChuanMoPhong) VALUES (%1, 'C1', %1, '%2', 'B2', 0, '1', -1, 35)")
                .arg(c.id)
                .arg(QString::fromLatin1(c.orderNumber)));
    }

    m_window.reset(new MainWindow(nullptr, PRINT_PERIOD_MS));
    m_window->initModel();
    m_window->showMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto *combo = m_window->findChild<QComboBox *>("cmbCourse");
    combo->setCurrentIndex(combo->findData("C1"));

    const QSet<quint64> before = clientIds();
    QVERIFY2(m_terminal.connectTo("127.0.0.1", m_folder->port()) && m_terminal.handshake(),
             qPrintable(m_terminal.errorString()));
    QCOMPARE((clientIds() - before).size(), 1);
}

void TestMainWindowPrintSwitch::cleanupTestCase()
{
    m_terminal.close();
    m_window.reset();
    m_folder.reset();
}

void TestMainWindowPrintSwitch::sit(const Candidate &c)
{
    Messages::EnterResponseFields reply;
    QString error;
    QVERIFY2(TerminalSteps::enter(m_terminal, "C1", c.orderNumber, &reply, &error), qPrintable(error));
    QCOMPARE(int(reply.status), 0);
    QVERIFY(m_terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(true, c.id, false)));
    QVERIFY(m_terminal.sendEncrypted(Messages::EncryptedContestResult,
                                     Messages::contestResult(38, 35, true, c.id, "C1", "1A;2B;3C")));
}

void TestMainWindowPrintSwitch::noSheetWhileOff()
{
    auto *contested = m_window->findChild<QLabel *>("lbContested");
    sit(BEFORE);
    QTRY_COMPARE(contested->text(), QString("1"));
    // Several notifier periods: nothing is written.
    QTest::qWait(4 * PRINT_PERIOD_MS);
    QVERIFY(QDir(m_folder->filePath("pdf")).entryList(QDir::Files).isEmpty());
}

void TestMainWindowPrintSwitch::pdfOnceSwitchedOn()
{
    auto *dialog = m_window->findChild<ConfigDialog *>();
    QVERIFY(dialog);
    m_window->findChild<QAction *>("actionConfigSystemFunction")->trigger();
    QVERIFY(dialog->isVisible());
    QTest::mouseClick(dialog->findChild<QAbstractButton *>("printCheckBox3"), Qt::LeftButton);
    std::unique_ptr<ModalAnswer> answer = ModalAnswer::messageBox(QMessageBox::Yes, 10000);
    QTest::mouseClick(dialog->findChild<QAbstractButton *>("saveButton"), Qt::LeftButton);
    QCOMPARE(BusinessController::getInstance()->getAutoPrint(), 2);
    QVERIFY(m_folder->readFile("config/run_mode.csv").startsWith("AUTO_PRINT:2\n"));

    sit(AFTER);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_folder->filePath(pdfOf(AFTER))).size() > 0, 15000);
    // Only the sheet of the result that came after the switch.
    QCOMPARE(QDir(m_folder->filePath("pdf")).entryList(QDir::Files), QStringList{"C1_2.pdf"});
}

ORV_TEST_MAIN_DESKTOP(TestMainWindowPrintSwitch)
#include "tst_mainwindowprintswitch.moc"
