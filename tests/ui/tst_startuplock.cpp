// Start-up in a working folder another program serves from, as main() runs
// it: the folder's lock is tried before the log handler is installed, the
// refusal names the holder on standard error, the lock's box is the only
// thing shown, the status is 1, and nothing in the folder was written or
// opened (no log line, the journal and the temporaries beside it as they
// were, the terminals' port free).

#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/modalanswer.h"
#include "tests/support/stdoutcapture.h"
#include "tests/support/workfolder.h"
#include "app/programstart.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Every file and folder below `path` with its size and last change: a file
// made, removed, grown or rewritten shows.
QStringList folderState(const QString &path)
{
    QStringList state;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        state << QStringLiteral("%1 %2 %3")
                     .arg(QDir(path).relativeFilePath(info.filePath()))
                     .arg(info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch());
    }
    state.sort();
    return state;
}

} // namespace

class TestStartupLock : public QObject
{
    Q_OBJECT

private slots:
    void refusedBeforeAnythingIsWritten();
};

void TestStartupLock::refusedBeforeAnythingIsWritten()
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
    const QStringList before = folderState(folder.path());

    StdoutCapture standardError(STDERR_FILENO);
    const bool ownsFolder = ProgramStart::begin();
    const QByteArray said = standardError.stop().join('\n');

    QVERIFY(!ownsFolder);
    const QByteArray reason = "another program (pid 4242) runs in the working folder "
                              + QFile::encodeName(QDir::toNativeSeparators(QDir::currentPath()));
    QVERIFY2(said.contains(reason), said.constData());
    // The program's log handler was not installed: a message now (Qt's own,
    // say, while the box is made) lands in no log.txt.
    qWarning("a message of the refused start");
    QVERIFY(!QFile::exists(folder.filePath("log.txt")));

    int status = -1;
    QString title;
    QString text;
    {
        std::unique_ptr<ModalAnswer> answer = ModalAnswer::messageBox(QMessageBox::Ok, 10000);
        status = ProgramStart::refuse();
        title = answer->title();
        text = answer->text();
    }
    QCOMPARE(title, QString("Cảnh báo"));
    QCOMPARE(text, QString("Chương trình đang chạy trong thư mục làm việc này."));
    QCOMPARE(status, 1);
    // Nothing else comes up afterwards either (a database box, a window).
    QTest::qWait(200);
    for (const QWidget *window : QApplication::topLevelWidgets())
        QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));

    QCOMPARE(folderState(folder.path()), before);
    QCOMPARE(folder.readFile("terminal_journal.txt"), journal);
    QCOMPARE(folder.readFile("orvserver.lock"), QByteArray("4242\n"));
    QTcpServer port;
    QVERIFY2(port.listen(QHostAddress::AnyIPv4, folder.port()), "the terminals' port was opened");
    ::close(running);
}

ORV_TEST_MAIN_DESKTOP(TestStartupLock)
#include "tst_startuplock.moc"
