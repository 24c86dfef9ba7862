// The configuration dialog as the operator reaches it: from the main
// window's menu, saved through the main window's connection to the business
// controller, which keeps the values and rewrites config/run_mode.csv.

#include "server/business/businesscontroller.h"
#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/dialogprobe.h"
#include "tests/ui/modalanswer.h"
#include "ui/configdialog.h"
#include "app/controller.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QSpinBox>

#include <memory>

class TestMainWindowConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void showsTheSettingsReadAtStartUp();
    void noLeavesTheFileAsItWas();
    void yesWritesTheFileAndTheSettings();

private:
    // Opens the dialog from the menu and changes every setting.
    void editEverything();
    void click(const QString &name);
    QByteArray runModeFile() const { return m_folder->readFile("config/run_mode.csv"); }

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<Controller> m_controller;
    MainWindow *m_window = nullptr;
    ConfigDialog *m_dialog = nullptr;
};

void TestMainWindowConfig::initTestCase()
{
    WorkFolder::Options options;
    options.autoPrint = 0;
    options.timeUpdateTheoryResult = 0;
    options.checkPassingTheory = false;
    m_folder.reset(new WorkFolder("uiconfig", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));

    m_controller.reset(new Controller());
    m_controller->start();
    m_window = DialogProbe::topLevel<MainWindow>();
    QVERIFY(m_window);
    m_dialog = m_window->findChild<ConfigDialog *>();
    QVERIFY(m_dialog);
}

void TestMainWindowConfig::cleanupTestCase()
{
    m_controller.reset();
    m_folder.reset();
}

void TestMainWindowConfig::click(const QString &name)
{
    QTest::mouseClick(m_dialog->findChild<QAbstractButton *>(name), Qt::LeftButton);
}

void TestMainWindowConfig::editEverything()
{
    m_window->findChild<QAction *>("actionConfigSystemFunction")->trigger();
    QVERIFY(m_dialog->isVisible());
    click("printCheckBox3");
    click("theoryCheckBox2");
    m_dialog->findChild<QSpinBox *>("spinBox")->setValue(30);
}

void TestMainWindowConfig::showsTheSettingsReadAtStartUp()
{
    m_window->findChild<QAction *>("actionConfigSystemFunction")->trigger();
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_dialog->isModal());
    QVERIFY(m_dialog->findChild<QCheckBox *>("printCheckBox1")->isChecked());
    QVERIFY(m_dialog->findChild<QCheckBox *>("theoryCheckBox1")->isChecked());
    QCOMPARE(m_dialog->findChild<QSpinBox *>("spinBox")->value(), 0);
    click("cancelButton");
    QVERIFY(!m_dialog->isVisible());
}

void TestMainWindowConfig::noLeavesTheFileAsItWas()
{
    const QByteArray before = runModeFile();
    QVERIFY(!before.isEmpty());
    editEverything();
    ModalAnswer::pressInNextBox(QMessageBox::No);
    click("saveButton");

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(runModeFile(), before);
    BusinessController *controller = BusinessController::getInstance();
    QCOMPARE(controller->getAutoPrint(), 0);
    QCOMPARE(controller->getTimeUpdateTheoryResult(), 0);
    QCOMPARE(controller->getCheckPassingTheoryExam(), false);
}

void TestMainWindowConfig::yesWritesTheFileAndTheSettings()
{
    editEverything();
    QString title;
    QString text;
    ModalAnswer::pressInNextBox(QMessageBox::Yes, &title, &text);
    click("saveButton");

    QCOMPARE(title, QString("Thông báo"));
    QCOMPARE(text, QString("Xác nhận lưu cấu hình hiện tại"));
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(runModeFile(),
             QByteArray("AUTO_PRINT:2\nAUTO_UPDATE_RESULT_OF_FRIEND_DB:60\nCHECK_PASSING_THEORY:1\n"));
    BusinessController *controller = BusinessController::getInstance();
    QCOMPARE(controller->getAutoPrint(), 2);
    QCOMPARE(controller->getTimeUpdateTheoryResult(), 60);
    QCOMPARE(controller->getCheckPassingTheoryExam(), true);
}

ORV_TEST_MAIN_DESKTOP(TestMainWindowConfig)
#include "tst_mainwindowconfig.moc"
