// The running main window, built by the start-up controller against the
// private MariaDB in a working folder of its own: shown maximised, not
// closable by the system, the PDF folder cleared at start-up, the form's
// menus, every action reaching its handler, and the exit menu.

#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/dialogprobe.h"
#include "tests/ui/modalanswer.h"
#include "app/controller.h"
#include "app/loghandler.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <memory>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void showsMaximised();
    void pdfFolderKeepsOnlyUndottedFilesAndFolders();
    void systemCloseIsIgnored();
    void menus_data();
    void menus();
    void smallFonts();
    void actionsReachTheirHandlers_data();
    void actionsReachTheirHandlers();
    void noSlotWithoutSignal();
    void exitWithNoKeepsRunning();
    void exitWithYesEndsTheLoop();

private:
    QAction *action(const QString &name) const;

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<Controller> m_controller;
    MainWindow *m_window = nullptr;
    QtMessageHandler m_previousHandler = nullptr;
};

void TestMainWindow::initTestCase()
{
    m_folder.reset(new WorkFolder("uimain"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(QDir(m_folder->path()).mkpath("pdf/sub"));
    for (const char *name : {"pdf/K01_7.pdf", "pdf/K01_8.pdf", "pdf/nodot", "pdf/sub/K02_1.pdf"})
        QVERIFY(m_folder->writeFile(name, "%PDF-1.4\n"));

    // The program's own handler, so that the log of start-up can be read.
    m_previousHandler = qInstallMessageHandler(logMessageHandler);
    m_controller.reset(new Controller());
    m_controller->start();
    m_window = DialogProbe::topLevel<MainWindow>();
    QVERIFY(m_window);
}

void TestMainWindow::cleanupTestCase()
{
    m_controller.reset();
    qInstallMessageHandler(m_previousHandler);
    m_folder.reset();
}

QAction *TestMainWindow::action(const QString &name) const
{
    return m_window->findChild<QAction *>(name);
}

void TestMainWindow::showsMaximised()
{
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->windowState() & Qt::WindowMaximized);
    QCOMPARE(m_window->windowTitle(), QString("Taskveld"));
    QCOMPARE(m_window->windowFlags(),
             Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                 | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    QVERIFY(!(m_window->windowFlags() & Qt::WindowCloseButtonHint));
    for (const char *counter : {"lbTotal", "lbNotContest", "lbContest", "lbContested", "lbPass",
                                "lbNotPass", "lbCourse2"})
        QCOMPARE(m_window->findChild<QLabel *>(counter)->text(), QString());
}

void TestMainWindow::pdfFolderKeepsOnlyUndottedFilesAndFolders()
{
    QCOMPARE(QDir(m_folder->filePath("pdf")).entryList(QDir::Files), QStringList{"nodot"});
    QVERIFY(QFile::exists(m_folder->filePath("pdf/sub/K02_1.pdf")));
}

void TestMainWindow::systemCloseIsIgnored()
{
    QCloseEvent event;
    QApplication::sendEvent(m_window, &event);
    QVERIFY(!event.isAccepted());
    QVERIFY(!m_window->close());
    QVERIFY(m_window->isVisible());
}

void TestMainWindow::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    // Object names of the entries in order; "-" a separator, "menu:" a submenu.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("units") << "menuQu_n_l_n_v" << "Quản lý đơn vị"
                           << QStringList{"actionProvince", "actionUnit"}
                           << QStringList{"1. Danh sách hội đồng sát hạch", "2. Danh sách đơn vị đào tạo"};
    QTest::newRow("courses") << "menuQu_n_l" << "Quản lý khóa học"
                             << QStringList{"-", "actionCourseList", "-", "actionAuxDb", "actionImport_XML"}
                             << QStringList{"", "1. Danh sách khóa học/khóa sát hạch", "",
                                            "2. Nhập khóa học từ CSDL lý thuyết", "3. Nhập khóa học từ tệp xml"};
    QTest::newRow("reports") << "menuB_o_c_o" << "Báo cáo"
                             << QStringList{"actionExportExcel", "actionExport_XML", "actionKQSHMPXML",
                                            "menu:menuExportStudents_excel"}
                             << QStringList{"1. Xuất kết quả khóa học (excel)", "2. Xuất kết quả khóa học (xml)",
                                            "3. Xuất kết quả SHMP (xml)",
                                            "4. Xuất danh sách thí sinh chi tiết (excel)"};
    QTest::newRow("candidate lists")
        << "menuExportStudents_excel" << "4. Xuất danh sách thí sinh chi tiết (excel)"
        << QStringList{"actionExportPassedStudents_excel", "actionExportFailedStudents_excel",
                       "actionExportAbsentStudents_excel"}
        << QStringList{"3.1. Xuất danh sách thí sinh ĐẠT (excel)", "3.2. Xuất danh sách thí sinh TRƯỢT (excel)",
                       "3.3. Xuất danh sách thí sinh VẮNG (excel)"};
    QTest::newRow("tools") << "menuTi_n_ch" << "Tiện ích"
                           << QStringList{"actionConfigSystemFunction", "actionCapNhatKetQuaSHLyThuyet", "-",
                                          "actionTestMainDbConnection", "actionTestAuxiliaryDbConnection"}
                           << QStringList{"Cấu hình tính năng hệ thống",
                                          "Cập nhật kết quả thi lý thuyết khóa đang thi mô phỏng", "",
                                          "Kiểm tra kết nối đến CSDL mô phỏng",
                                          "Kiểm tra kết nối đến CSDL lý thuyết"};
    QTest::newRow("information") << "menuTh_ng_tin" << "Thông tin"
                                 << QStringList{"actionInfo", "-", "actionExit"}
                                 << QStringList{"Bản quyền", "", "Thoát chương trình"};
}

void TestMainWindow::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, title);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, texts);

    auto *found = m_window->findChild<QMenu *>(menu);
    QVERIFY(found);
    QCOMPARE(found->title(), title);
    QStringList gotEntries;
    QStringList gotTexts;
    for (QAction *entry : found->actions()) {
        if (entry->isSeparator())
            gotEntries << "-";
        else if (entry->menu())
            gotEntries << "menu:" + entry->menu()->objectName();
        else
            gotEntries << entry->objectName();
        gotTexts << entry->text();
    }
    QCOMPARE(gotEntries, entries);
    QCOMPARE(gotTexts, texts);

    // The bar holds the five top menus in this order.
    QStringList bar;
    for (QAction *entry : m_window->menuBar()->actions())
        bar << entry->menu()->objectName();
    QCOMPARE(bar, (QStringList{"menuQu_n_l_n_v", "menuQu_n_l", "menuB_o_c_o", "menuTi_n_ch", "menuTh_ng_tin"}));
}

void TestMainWindow::smallFonts()
{
    for (const char *name : {"menuTi_n_ch", "menuTh_ng_tin"}) {
        const QFont font = m_window->findChild<QMenu *>(name)->font();
        QCOMPARE(font.family(), QString("Tahoma"));
        QCOMPARE(font.pointSize(), 8);
    }
    for (const char *name : {"actionExportExcel", "actionImport_XML", "actionExport_XML", "actionAuxDb",
                             "actionInfo", "actionTestAuxiliaryDbConnection"}) {
        QCOMPARE(action(name)->font().family(), QString("Tahoma"));
        QCOMPARE(action(name)->font().pointSize(), 8);
    }
    QCOMPARE(m_window->menuBar()->font().pointSize(), 11);
    QCOMPARE(action("actionExit")->font().pointSize(), QFont().pointSize());
}

void TestMainWindow::actionsReachTheirHandlers_data()
{
    QTest::addColumn<QString>("action");
    // The object name of the dialog the handler shows.
    QTest::addColumn<QString>("dialog");

    QTest::newRow("about") << "actionInfo" << "AboutDialog";
    QTest::newRow("configuration") << "actionConfigSystemFunction" << "ConfigDialog";
    QTest::newRow("main database test") << "actionTestMainDbConnection" << "TestMainDb";
    QTest::newRow("theory database test") << "actionTestAuxiliaryDbConnection" << "TestAuxiliaryDb";
}

void TestMainWindow::actionsReachTheirHandlers()
{
    QFETCH(QString, action);
    QFETCH(QString, dialog);

    QAction *trigger = this->action(action);
    QVERIFY(trigger);
    trigger->trigger();
    auto *shown = m_window->findChild<QDialog *>(dialog);
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
    QVERIFY(shown->isModal());
    if (dialog == "AboutDialog")
        QCOMPARE(shown->findChild<QLabel *>("lbTitle")->text(), QString("Taskveld"));
    shown->hide();
}

void TestMainWindow::noSlotWithoutSignal()
{
    const QString log = QString::fromUtf8(m_folder->readFile("log.txt"));
    QVERIFY(log.contains("MainWindow::showMainWindow()"));
    QVERIFY2(!log.contains("No matching signal"), qPrintable(log));
}

void TestMainWindow::exitWithNoKeepsRunning()
{
    QString title;
    QString text;
    QTimer::singleShot(0, [&]() {
        ModalAnswer::pressInNextBox(QMessageBox::No, &title, &text);
        action("actionExit")->trigger();
        // Still running after the answer: only this ends the loop.
        QTimer::singleShot(50, []() { QCoreApplication::exit(7); });
    });
    QCOMPARE(QCoreApplication::exec(), 7);
    QCOMPARE(title, QString("Cảnh báo"));
    QCOMPARE(text, QString("Tắt chương trình sẽ mất kết nối và không lưu được kết quả các máy đang thi. "
                           "Bạn có chắc chắn muốn thoát không?"));
    QVERIFY(m_window->isVisible());
}

void TestMainWindow::exitWithYesEndsTheLoop()
{
    QTimer::singleShot(0, [this]() {
        ModalAnswer::next([](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return;
            QVERIFY(box->defaultButton() == box->button(QMessageBox::No));
            box->button(QMessageBox::Yes)->click();
        });
        action("actionExit")->trigger();
    });
    // A guard: the loop would otherwise run for ever on a failure.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, []() { QCoreApplication::exit(99); });
    guard.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);
}

ORV_TEST_MAIN_DESKTOP(TestMainWindow)
#include "tst_mainwindow.moc"
