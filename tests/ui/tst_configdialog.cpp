// The run-mode dialog: what a confirmed save announces (the interval rule,
// the interval the theory check proposes), what a refused save or a cancel
// leaves, and the run-mode file the business controller writes from it.

#include "common/constants.h"
#include "server/business/businesscontroller.h"
#include "server/network/iocontroller.h"
#include "ui/configdialog.h"

#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/modalanswer.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

#include <memory>

class TestConfigDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void formAsGiven();
    void savedInterval_data();
    void savedInterval();
    void theoryCheckProposesAnInterval_data();
    void theoryCheckProposesAnInterval();
    void printChoiceIsExclusive();
    void printModeOutOfRange();
    void negativeIntervalKeepsWhatTheCheckGave_data();
    void negativeIntervalKeepsWhatTheCheckGave();
    void refusedSaveAndCancelKeepTheCommittedValues_data();
    void refusedSaveAndCancelKeepTheCommittedValues();
    void runModeFileFollowsTheAnswer();

private:
    ConfigDialog *makeDialog(int printMode, int interval, bool checkTheory);
    template<typename T>
    T *child(const QString &name) const { return m_dialog->findChild<T *>(name); }
    void click(const QString &name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }
    QSpinBox *spinBox() const { return child<QSpinBox>("spinBox"); }
    QString printChecks() const;
    // Clicks "Lưu" and answers the question with `answer`.
    void save(QMessageBox::StandardButton answer);

    std::unique_ptr<ConfigDialog> m_dialog;
    std::unique_ptr<WorkFolder> m_folder;
};

void TestConfigDialog::initTestCase()
{
    // For the last case: the business controller writes the file.
    WorkFolder::Options options;
    options.autoPrint = 1;
    options.timeUpdateTheoryResult = 300;
    options.checkPassingTheory = true;
    m_folder.reset(new WorkFolder("configdlg", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
}

void TestConfigDialog::cleanupTestCase()
{
    m_dialog.reset();
    if (IOController::getInstance())
        IOController::destroyInstance();
}

void TestConfigDialog::cleanup()
{
    m_dialog.reset();
}

ConfigDialog *TestConfigDialog::makeDialog(int printMode, int interval, bool checkTheory)
{
    m_dialog.reset(new ConfigDialog(nullptr, printMode, interval, checkTheory));
    return m_dialog.get();
}

QString TestConfigDialog::printChecks() const
{
    QString checks;
    for (const char *name : {"printCheckBox1", "printCheckBox2", "printCheckBox3"})
        checks += child<QCheckBox>(name)->isChecked() ? 'x' : '-';
    return checks;
}

void TestConfigDialog::save(QMessageBox::StandardButton answer)
{
    QString title;
    QString text;
    ModalAnswer::pressInNextBox(answer, &title, &text);
    click("saveButton");
    QCOMPARE(QStringList({title, text}), QStringList({"Thông báo", "Xác nhận lưu cấu hình hiện tại"}));
}

void TestConfigDialog::formAsGiven()
{
    makeDialog(0, 0, false)->showDialog();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    // For looking at it: ORV_SCREENSHOT_DIR=folder.
    if (qEnvironmentVariableIsSet("ORV_SCREENSHOT_DIR"))
        m_dialog->grab().save(qEnvironmentVariable("ORV_SCREENSHOT_DIR") + "/config-dialog.png");
    QCOMPARE(m_dialog->windowTitle(), QString("Cấu hình"));
    QCOMPARE(m_dialog->size(), QSize(480, 482));
    QVERIFY(m_dialog->isModal());
    QVERIFY(child<QLabel>("labelNote")->text().isEmpty());
    QCOMPARE(spinBox()->minimum(), 0);
    QCOMPARE(spinBox()->maximum(), 999999999);
    QCOMPARE(printChecks(), QString("x--"));
    QVERIFY(child<QCheckBox>("theoryCheckBox1")->isChecked());
    QVERIFY(!child<QCheckBox>("theoryCheckBox2")->isChecked());
}

void TestConfigDialog::savedInterval_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("saved");

    QTest::newRow("0 never refreshes") << 0 << 0;
    QTest::newRow("1 becomes a minute") << 1 << 60;
    QTest::newRow("30 becomes a minute") << 30 << 60;
    QTest::newRow("60 stays") << 60 << 60;
    QTest::newRow("61 stays") << 61 << 61;
}

void TestConfigDialog::savedInterval()
{
    QFETCH(int, typed);
    QFETCH(int, saved);

    makeDialog(1, 300, true)->showDialog();
    spinBox()->setValue(typed);
    QSignalSpy spy(m_dialog.get(), &ConfigDialog::notifyUpdateConfig);
    save(QMessageBox::Yes);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), QVariantList({1, saved, true}));
    QVERIFY(!m_dialog->isVisible());
    // Shown as typed until the next showing, then as saved.
    QCOMPARE(spinBox()->value(), typed);
    m_dialog->showDialog();
    QCOMPARE(spinBox()->value(), saved);
}

void TestConfigDialog::theoryCheckProposesAnInterval_data()
{
    QTest::addColumn<int>("committed");
    QTest::addColumn<int>("proposed");

    QTest::newRow("nothing committed") << 0 << 120;
    QTest::newRow("committed interval") << 300 << 300;
}

void TestConfigDialog::theoryCheckProposesAnInterval()
{
    QFETCH(int, committed);
    QFETCH(int, proposed);

    makeDialog(0, committed, false)->showDialog();
    QCOMPARE(spinBox()->value(), committed);

    click("theoryCheckBox2");
    QVERIFY(child<QCheckBox>("theoryCheckBox2")->isChecked());
    QVERIFY(!child<QCheckBox>("theoryCheckBox1")->isChecked());
    QCOMPARE(spinBox()->value(), proposed);

    QSignalSpy spy(m_dialog.get(), &ConfigDialog::notifyUpdateConfig);
    save(QMessageBox::Yes);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), QVariantList({0, proposed, true}));

    // Off again proposes 0, and 0 is what is saved.
    m_dialog->showDialog();
    click("theoryCheckBox1");
    QVERIFY(child<QCheckBox>("theoryCheckBox1")->isChecked());
    QVERIFY(!child<QCheckBox>("theoryCheckBox2")->isChecked());
    QCOMPARE(spinBox()->value(), 0);
    save(QMessageBox::Yes);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1), QVariantList({0, 0, false}));
}

void TestConfigDialog::printChoiceIsExclusive()
{
    makeDialog(0, 0, false)->showDialog();
    click("printCheckBox3");
    QCOMPARE(printChecks(), QString("--x"));
    // Clicking the chosen box keeps it chosen.
    click("printCheckBox3");
    QCOMPARE(printChecks(), QString("--x"));
    click("printCheckBox2");
    QCOMPARE(printChecks(), QString("-x-"));

    QSignalSpy spy(m_dialog.get(), &ConfigDialog::notifyUpdateConfig);
    save(QMessageBox::Yes);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 1);
}

void TestConfigDialog::printModeOutOfRange()
{
    makeDialog(3, 0, false);
    QCOMPARE(printChecks(), QString("---"));
    m_dialog->setPrintMode(-1);
    QCOMPARE(printChecks(), QString("---"));
    m_dialog->setPrintMode(2);
    QCOMPARE(printChecks(), QString("--x"));
    m_dialog->setPrintMode(7);
    QCOMPARE(printChecks(), QString("--x"));
}

void TestConfigDialog::negativeIntervalKeepsWhatTheCheckGave_data()
{
    QTest::addColumn<bool>("checkTheory");
    QTest::addColumn<int>("shown");

    QTest::newRow("check off") << false << 0;
    QTest::newRow("check on") << true << 120;
}

void TestConfigDialog::negativeIntervalKeepsWhatTheCheckGave()
{
    QFETCH(bool, checkTheory);
    QFETCH(int, shown);

    makeDialog(0, -5, checkTheory);
    QCOMPARE(spinBox()->value(), shown);
}

void TestConfigDialog::refusedSaveAndCancelKeepTheCommittedValues_data()
{
    QTest::addColumn<bool>("cancel");

    QTest::newRow("No to the question") << false;
    QTest::newRow("Hủy") << true;
}

void TestConfigDialog::refusedSaveAndCancelKeepTheCommittedValues()
{
    QFETCH(bool, cancel);

    makeDialog(2, 300, true)->showDialog();
    click("printCheckBox1");
    click("theoryCheckBox1");
    spinBox()->setValue(45);
    QSignalSpy spy(m_dialog.get(), &ConfigDialog::notifyUpdateConfig);
    if (cancel)
        click("cancelButton");
    else
        save(QMessageBox::No);

    QCOMPARE(spy.count(), 0);
    QVERIFY(!m_dialog->isVisible());
    m_dialog->showDialog();
    QCOMPARE(printChecks(), QString("--x"));
    QVERIFY(child<QCheckBox>("theoryCheckBox2")->isChecked());
    QCOMPARE(spinBox()->value(), 300);

    // What is saved next is what was committed, not the dropped edits.
    save(QMessageBox::Yes);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), QVariantList({2, 300, true}));
}

void TestConfigDialog::runModeFileFollowsTheAnswer()
{
    BusinessController *controller = BusinessController::getInstance();
    QVERIFY(controller);
    makeDialog(controller->getAutoPrint(), controller->getTimeUpdateTheoryResult(),
               controller->getCheckPassingTheoryExam());
    connect(m_dialog.get(), &ConfigDialog::notifyUpdateConfig, controller,
            &BusinessController::onUpdateConfig);
    const QByteArray before = m_folder->readFile("config/run_mode.csv");
    QVERIFY(!before.isEmpty());

    m_dialog->showDialog();
    click("printCheckBox3");
    click("theoryCheckBox1");
    spinBox()->setValue(30);
    save(QMessageBox::No);
    QCOMPARE(m_folder->readFile("config/run_mode.csv"), before);
    QCOMPARE(controller->getAutoPrint(), 1);

    m_dialog->showDialog();
    click("printCheckBox3");
    click("theoryCheckBox1");
    spinBox()->setValue(30);
    save(QMessageBox::Yes);
    QCOMPARE(m_folder->readFile("config/run_mode.csv"),
             QByteArray("AUTO_PRINT:2\nAUTO_UPDATE_RESULT_OF_FRIEND_DB:60\nCHECK_PASSING_THEORY:0\n"));
    QCOMPARE(controller->getAutoPrint(), 2);
    QCOMPARE(controller->getTimeUpdateTheoryResult(), 60);
    QCOMPARE(controller->getCheckPassingTheoryExam(), false);
}

ORV_TEST_MAIN_DESKTOP(TestConfigDialog)
#include "tst_configdialog.moc"
