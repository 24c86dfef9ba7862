// Start-up without the main database: the database box, the log line that
// says so, then the event loop ends with status 1 and no main window.

#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/modalanswer.h"
#include "app/controller.h"
#include "app/loghandler.h"
#include "ui/mainwindow.h"

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

    QtMessageHandler previous = qInstallMessageHandler(logMessageHandler);
    QString title;
    QString text;
    int status = -1;
    bool mainWindowShown = false;
    {
        Controller controller;
        ModalAnswer::pressInNextBox(QMessageBox::Ok, &title, &text);
        controller.start();
        status = QCoreApplication::exec();
        for (QWidget *window : QApplication::topLevelWidgets())
            mainWindowShown |= qobject_cast<MainWindow *>(window) && window->isVisible();
    }
    qInstallMessageHandler(previous);

    QCOMPARE(title, QString("Cảnh báo"));
    QCOMPARE(text, QString("Máy chủ không kết nối được cơ sở dữ liệu MySql mô phỏng"));
    QCOMPARE(status, 1);
    QVERIFY(!mainWindowShown);
    const QString log = QString::fromUtf8(folder.readFile("log.txt"));
    QVERIFY2(log.contains(" - Debug: Unable to intialize Mysql database "), qPrintable(log));
}

ORV_TEST_MAIN_DESKTOP(TestStartupNoDb)
#include "tst_startupnodb.moc"
