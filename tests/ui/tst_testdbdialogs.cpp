// The two connection-test dialogs against the private MariaDB, reached
// through a relay whose port can be closed: the settings shown, the outcome
// reported, and the server's own connections still working after a test
// that failed. The business controller is a process singleton: one working
// folder for the whole executable.

#include "server/business/businesscontroller.h"
#include "server/network/iocontroller.h"
#include "ui/customerbox.h"
#include "ui/testauxiliarydb.h"
#include "ui/testmaindb.h"

#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/support/loopbackproxy.h"

#include <QLabel>
#include <QPushButton>

#include <memory>

namespace {

enum Kind { Main, Auxiliary };

const QStringList VALUE_LABELS = {"lbHostName", "lbPort", "lbDbName", "lbUsername", "lbPassword"};

} // namespace

class TestTestDbDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void formAsGiven_data();
    void formAsGiven();
    void showsTheConnectionSettings_data();
    void showsTheConnectionSettings();
    void reportsTheOutcome_data();
    void reportsTheOutcome();
    void failedTestLeavesTheServerConnected();

private:
    void addKinds();
    QDialog *dialog(Kind kind) const;
    void showConnectionInfo(Kind kind);
    // Clicks the test button; the message box's title and text.
    QStringList runTest(Kind kind);
    // The settings of a connection file, in the order of the value labels.
    QStringList settingsOf(const QString &file) const;
    // Points a connection file at the relay.
    bool throughProxy(const QString &file);

    std::unique_ptr<WorkFolder> m_folder;
    LoopbackProxy m_proxy;
    BusinessController *m_controller = nullptr;
    std::unique_ptr<TestMainDb> m_main;
    std::unique_ptr<TestAuxiliaryDb> m_auxiliary;
};

QStringList TestTestDbDialogs::settingsOf(const QString &file) const
{
    QMap<QString, QString> values;
    for (const QByteArray &line : m_folder->readFile(file).split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0)
            values.insert(QString::fromUtf8(line.left(colon)), QString::fromUtf8(line.mid(colon + 1)));
    }
    return {values.value("HOST_NAME"), values.value("PORT_NUMBER"), values.value("MYSQL_DB_NAME"),
            values.value("MYSQL_USERNAME"), values.value("MYSQL_PASS")};
}

bool TestTestDbDialogs::throughProxy(const QString &file)
{
    QByteArray text;
    for (const QByteArray &line : m_folder->readFile(file).split('\n')) {
        if (line.isEmpty())
            continue;
        text += line.startsWith("PORT_NUMBER:") ? "PORT_NUMBER:" + QByteArray::number(m_proxy.port())
                                                : line;
        text += '\n';
    }
    return m_folder->writeFile(file, text);
}

void TestTestDbDialogs::initTestCase()
{
    m_folder.reset(new WorkFolder("dbtests"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(TestDb::exec(m_folder->mainAdmin(),
                         "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, NgayThi) VALUES ('K1', 'Một', CURDATE())"));
    QVERIFY(TestDb::exec(m_folder->auxAdmin(),
                         "INSERT INTO khoahoc (IDKhoaHoc, TenKhoaHoc, NgayThi) VALUES ('A1', 'Một', CURDATE())"));

    // The server reaches both databases through the relay.
    QVERIFY(m_proxy.start(quint16(TestDb::server().port)));
    QVERIFY(throughProxy("config/connection_mysql.csv"));
    QVERIFY(throughProxy("config/aux_connection_mysql.csv"));

    m_controller = BusinessController::getInstance();
    QVERIFY(m_controller);
    QCOMPARE(m_controller->isDbConnectionFailed(), 0);
    QVERIFY(m_controller->isCourseExist("K1"));
    QCOMPARE(m_controller->getAuxiliaryCourses().size(), 1);

    m_main.reset(new TestMainDb);
    m_auxiliary.reset(new TestAuxiliaryDb);
}

void TestTestDbDialogs::cleanupTestCase()
{
    m_main.reset();
    m_auxiliary.reset();
    IOController::destroyInstance();
}

void TestTestDbDialogs::addKinds()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("simulation database") << int(Main);
    QTest::newRow("theory-test database") << int(Auxiliary);
}

QDialog *TestTestDbDialogs::dialog(Kind kind) const
{
    return kind == Main ? static_cast<QDialog *>(m_main.get()) : m_auxiliary.get();
}

void TestTestDbDialogs::showConnectionInfo(Kind kind)
{
    if (kind == Main)
        m_main->showConnectionInfo();
    else
        m_auxiliary->showConnectionInfo();
}

QStringList TestTestDbDialogs::runTest(Kind kind)
{
    QTest::mouseClick(dialog(kind)->findChild<QPushButton *>("pbTestDbConnection"), Qt::LeftButton);
    auto *box = dialog(kind)->findChild<CustomerBox *>();
    if (!box || !box->isVisible() || !box->isModal())
        return {"no box shown"};
    const QStringList shown{box->windowTitle(), box->findChild<QLabel *>("lbContent")->text()};
    box->hide();
    return shown;
}

void TestTestDbDialogs::formAsGiven_data()
{
    addKinds();
}

void TestTestDbDialogs::formAsGiven()
{
    QFETCH(int, kind);
    QDialog *shown = dialog(Kind(kind));

    QCOMPARE(shown->windowTitle(), kind == Main ? QString("Kiểm tra kết nối CSDL mô phỏng")
                                                : QString("Kiểm tra kết nối CSDL lý thuyết"));
    QCOMPARE(shown->findChild<QPushButton *>("pbTestDbConnection")->text(),
             QString("Kiểm tra kết nối database"));
    // Until the first showing, each value label shows its own name.
    for (const QString &name : VALUE_LABELS) {
        auto *label = shown->findChild<QLabel *>(name);
        QVERIFY2(label, qPrintable(name));
        QCOMPARE(label->text(), name);
    }
}

void TestTestDbDialogs::showsTheConnectionSettings_data()
{
    addKinds();
}

void TestTestDbDialogs::showsTheConnectionSettings()
{
    QFETCH(int, kind);

    showConnectionInfo(Kind(kind));
    QDialog *shown = dialog(Kind(kind));
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    QVERIFY(shown->isModal());
    // For looking at it: ORV_SCREENSHOT_DIR=folder.
    if (qEnvironmentVariableIsSet("ORV_SCREENSHOT_DIR"))
        shown->grab().save(qEnvironmentVariable("ORV_SCREENSHOT_DIR") + "/" + shown->objectName()
                           + ".png");

    QStringList values;
    for (const QString &name : VALUE_LABELS)
        values << shown->findChild<QLabel *>(name)->text();
    const QStringList expected = settingsOf(kind == Main ? "config/connection_mysql.csv"
                                                         : "config/aux_connection_mysql.csv");
    QCOMPARE(values, expected);
    QCOMPARE(values.at(1), QString::number(m_proxy.port()));
    QCOMPARE(values.at(2), kind == Main ? m_folder->mainDbName() : m_folder->auxDbName());
    shown->hide();
}

void TestTestDbDialogs::reportsTheOutcome_data()
{
    addKinds();
}

void TestTestDbDialogs::reportsTheOutcome()
{
    QFETCH(int, kind);

    showConnectionInfo(Kind(kind));
    QCOMPARE(runTest(Kind(kind)),
             QStringList({"Thông tin", kind == Main ? "Kết nối cơ sở dữ liệu mô phỏng thành công"
                                                    : "Kết nối cơ sở dữ liệu lý thuyết thành công"}));
    dialog(Kind(kind))->hide();
}

void TestTestDbDialogs::failedTestLeavesTheServerConnected()
{
    m_proxy.closePort();

    m_main->showConnectionInfo();
    QCOMPARE(runTest(Main), QStringList({"Thông tin", "Kết nối cơ sở dữ liệu mô phỏng thất bại"}));
    m_auxiliary->showConnectionInfo();
    QCOMPARE(runTest(Auxiliary),
             QStringList({"Thông tin", "Kết nối cơ sở dữ liệu lý thuyết thất bại"}));

    // The server's own connections were not touched by the tests.
    QVERIFY(m_controller->isCourseExist("K1"));
    QCOMPARE(m_controller->getAuxiliaryCourses().size(), 1);
}

ORV_TEST_MAIN_DESKTOP(TestTestDbDialogs)
#include "tst_testdbdialogs.moc"
