// Start-up in a working folder another program serves from: the box that
// says so, then the event loop ends with status 1, and nothing of the folder
// was touched (the journal, the temporaries beside it, the terminals' port).

#include "tests/support/modalanswer.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/workfolder.h"
#include "app/controller.h"
#include "app/loghandler.h"
#include "ui/mainwindow.h"

#include <QFile>
#include <QLockFile>
#include <QTcpServer>

class TestStartupLock : public QObject
{
    Q_OBJECT

private slots:
    void folderBoxThenStatusOne();
};

void TestStartupLock::folderBoxThenStatusOne()
{
    WorkFolder::Options options;
    options.mainReachable = false;
    WorkFolder folder("uilock", options);
    QVERIFY2(folder.isValid(), qPrintable(folder.error()));
    // What a rewrite would change: numbers, a record done, a temporary.
    const QByteArray journal = "3\tSTART\t7\t2026-01-02 08:00:00\n3\tDONE\n5\tSTART\t8\t2026-01-02 08:01:00\n";
    QVERIFY(folder.writeFile("terminal_journal.txt", journal));
    QVERIFY(folder.writeFile("terminal_journal.txt.a1B2c3", "5\tSTART\t8\t2026-01-02 08:01:00\n"));
    QLockFile running(folder.filePath("orvserver.lock"));
    QVERIFY(running.tryLock(0));

    QtMessageHandler previous = qInstallMessageHandler(logMessageHandler);
    QString title;
    QString text;
    int status = -1;
    bool mainWindowShown = false;
    {
        Controller controller;
        std::unique_ptr<ModalAnswer> answer = ModalAnswer::messageBox(QMessageBox::Ok, 10000);
        controller.start();
        status = QCoreApplication::exec();
        title = answer->title();
        text = answer->text();
        for (QWidget *window : QApplication::topLevelWidgets())
            mainWindowShown |= qobject_cast<MainWindow *>(window) && window->isVisible();
    }
    qInstallMessageHandler(previous);

    QCOMPARE(title, QString("Cảnh báo"));
    QCOMPARE(text, QString("Chương trình đang chạy trong thư mục làm việc này."));
    QCOMPARE(status, 1);
    QVERIFY(!mainWindowShown);
    QCOMPARE(folder.readFile("terminal_journal.txt"), journal);
    QVERIFY(QFile::exists(folder.filePath("terminal_journal.txt.a1B2c3")));
    QTcpServer port;
    QVERIFY2(port.listen(QHostAddress::AnyIPv4, folder.port()), "the terminals' port was opened");
    const QString log = QString::fromUtf8(folder.readFile("log.txt"));
    QVERIFY2(log.contains("runs in the working folder"), qPrintable(log));
}

ORV_TEST_MAIN_DESKTOP(TestStartupLock)
#include "tst_startuplock.moc"
