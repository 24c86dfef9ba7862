// Start-up in a working folder another program serves from: the box that
// says so, then the event loop ends with status 1, and nothing of the folder
// was touched (the journal, the temporaries beside it, the terminals' port).

#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/startupbox.h"

#include <QFile>
#include <QTcpServer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
    // The running program's lock: a descriptor of its own on the file, as
    // another process holds it (flock conflicts between descriptors).
    QVERIFY(folder.writeFile("orvserver.lock", "4242\n"));
    const int running =
        ::open(QFile::encodeName(folder.filePath("orvserver.lock")).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(running >= 0);
    QCOMPARE(::flock(running, LOCK_EX | LOCK_NB), 0);

    const StartupBox seen = runRefusedStart();

    QCOMPARE(seen.title, QString("Cảnh báo"));
    QCOMPARE(seen.text, QString("Chương trình đang chạy trong thư mục làm việc này."));
    QCOMPARE(seen.status, 1);
    QVERIFY(!seen.mainWindowShown);
    QCOMPARE(folder.readFile("terminal_journal.txt"), journal);
    QVERIFY(QFile::exists(folder.filePath("terminal_journal.txt.a1B2c3")));
    QTcpServer port;
    QVERIFY2(port.listen(QHostAddress::AnyIPv4, folder.port()), "the terminals' port was opened");
    const QString log = QString::fromUtf8(folder.readFile("log.txt"));
    QVERIFY2(log.contains("another program (pid 4242) runs in the working folder"), qPrintable(log));
    QCOMPARE(folder.readFile("orvserver.lock"), QByteArray("4242\n"));
    ::close(running);
}

ORV_TEST_MAIN_DESKTOP(TestStartupLock)
#include "tst_startuplock.moc"
