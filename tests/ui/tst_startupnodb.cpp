// Start-up without the main database: the database box, the log line that
// says so, then the event loop ends with status 1 and no main window.

#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/startupbox.h"

class TestStartupNoDb : public QObject
{
    Q_OBJECT

private slots:
    void databaseBoxThenStatusOne();
};

void TestStartupNoDb::databaseBoxThenStatusOne()
{
    WorkFolder::Options options;
    options.mainReachable = false;
    WorkFolder folder("uinodb", options);
    QVERIFY2(folder.isValid(), qPrintable(folder.error()));

    const StartupBox seen = runRefusedStart();

    QCOMPARE(seen.title, QString("Cảnh báo"));
    QCOMPARE(seen.text, QString("Máy chủ không kết nối được cơ sở dữ liệu MySql mô phỏng"));
    QCOMPARE(seen.status, 1);
    QVERIFY(!seen.mainWindowShown);
    const QString log = QString::fromUtf8(folder.readFile("log.txt"));
    QVERIFY2(log.contains(" - Debug: Unable to intialize Mysql database "), qPrintable(log));
}

ORV_TEST_MAIN_DESKTOP(TestStartupNoDb)
#include "tst_startupnodb.moc"
