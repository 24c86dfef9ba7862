// The export choice: which signal each mode sends and with which position.

#include "records/course.h"
#include "tests/support/dialogprobe.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "ui/exportstudentsdialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

#include <memory>

class TestExportStudentsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void confirmation_data();
    void confirmation();
    void cancelSendsNothing();
    void choiceKeptBetweenShowings();

private:
    // "signal:index" for every signal sent.
    QStringList sent() const;
    void click(const char *button);

    std::unique_ptr<ExportStudentsDialog> m_dialog;
    QList<std::pair<QString, std::shared_ptr<QSignalSpy>>> m_spies;
    QList<Course *> m_courses;
};

void TestExportStudentsDialog::init()
{
    m_dialog.reset(new ExportStudentsDialog);
    m_spies = {
        {"xml", std::make_shared<QSignalSpy>(m_dialog.get(), &ExportStudentsDialog::notifyExportXml)},
        {"excel", std::make_shared<QSignalSpy>(m_dialog.get(), &ExportStudentsDialog::notifyExportExcel)},
        {"passed", std::make_shared<QSignalSpy>(m_dialog.get(),
                                                &ExportStudentsDialog::notifyExportPassedStudentsExcel)},
        {"failed", std::make_shared<QSignalSpy>(m_dialog.get(),
                                                &ExportStudentsDialog::notifyExportFailedStudentsExcel)},
        {"absent", std::make_shared<QSignalSpy>(m_dialog.get(),
                                                &ExportStudentsDialog::notifyExportAbsentStudentsExcel)},
        {"kqshmp", std::make_shared<QSignalSpy>(m_dialog.get(), &ExportStudentsDialog::notifyExportKQSHMPXml)},
    };
    for (int i = 0; i < 20; ++i) {
        auto *course = new Course;
        course->setIDKhoaHoc(QString("K%1").arg(i));
        course->setTenKhoaHoc(QString("Khóa %1").arg(i));
        m_courses << course;
    }
}

void TestExportStudentsDialog::cleanup()
{
    m_spies.clear();
    m_dialog.reset();
    qDeleteAll(m_courses);
    m_courses.clear();
}

QStringList TestExportStudentsDialog::sent() const
{
    QStringList all;
    for (const auto &spy : m_spies) {
        for (const QList<QVariant> &arguments : *spy.second)
            all << spy.first + ":" + arguments.at(0).toString();
    }
    return all;
}

void TestExportStudentsDialog::click(const char *button)
{
    m_dialog->findChild<QPushButton *>(QString::fromLatin1(button))->click();
}

void TestExportStudentsDialog::confirmation_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("courses");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("first XML form") << 0 << 20 << 12 << QStringList({"xml:12"});
    QTest::newRow("Excel summary") << 1 << 20 << 12 << QStringList({"excel:12"});
    QTest::newRow("passed") << 2 << 20 << 0 << QStringList({"passed:0"});
    QTest::newRow("failed") << 3 << 20 << 19 << QStringList({"failed:19"});
    QTest::newRow("absent") << 4 << 20 << 5 << QStringList({"absent:5"});
    QTest::newRow("second XML form") << 5 << 20 << 12 << QStringList({"kqshmp:12"});
    QTest::newRow("empty list") << 1 << 0 << -1 << QStringList({"excel:-1"});
    QTest::newRow("unknown mode") << 6 << 20 << 3 << QStringList();
    QTest::newRow("negative mode") << -1 << 20 << 3 << QStringList();
}

void TestExportStudentsDialog::confirmation()
{
    QFETCH(int, mode);
    QFETCH(int, courses);
    QFETCH(int, chosen);
    QFETCH(QStringList, expected);
    m_dialog->setCourses(m_courses.mid(0, courses));
    auto *box = m_dialog->findChild<QComboBox *>("cmbCourse");
    QCOMPARE(box->count(), courses);
    box->setCurrentIndex(chosen);
    if (chosen >= 0)
        QCOMPARE(box->currentText(), QString("K%1 – Khóa %1").arg(chosen));
    m_dialog->setMode(mode);
    m_dialog->setModal(true);
    m_dialog->show();
    if (mode == 0 && courses > 0)
        DialogProbe::screenshot(m_dialog.get(), "exportstudentsdialog");
    click("btnOk");
    QCOMPARE(sent(), expected);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), 1);
}

void TestExportStudentsDialog::cancelSendsNothing()
{
    m_dialog->setCourses(m_courses);
    m_dialog->setMode(1);
    m_dialog->show();
    click("btnCancel");
    QCOMPARE(sent(), QStringList());
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), 0);
}

void TestExportStudentsDialog::choiceKeptBetweenShowings()
{
    m_dialog->setCourses(m_courses);
    m_dialog->findChild<QComboBox *>("cmbCourse")->setCurrentIndex(7);
    m_dialog->setMode(2);
    m_dialog->show();
    click("btnOk");
    m_dialog->setMode(5);
    m_dialog->show();
    click("btnOk");
    QCOMPARE(sent(), QStringList({"passed:7", "kqshmp:7"}));
}

ORV_TEST_MAIN_DESKTOP(TestExportStudentsDialog)
#include "tst_exportstudentsdialog.moc"
