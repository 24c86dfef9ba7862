// Start-up when the system refuses the listener its thread: the start step
// does not wait for ever but shows the port box with status 6, and the event
// loop ends with status 1.

#include "platform/thread.h"
#include "server/network/iocontroller.h"
#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/modalanswer.h"
#include "app/controller.h"

class TestStartupThread : public QObject
{
    Q_OBJECT

private slots:
    void portBoxWithStatusSix();
};

void TestStartupThread::portBoxWithStatusSix()
{
    WorkFolder folder("uithread");
    QVERIFY2(folder.isValid(), qPrintable(folder.error()));
    // The handler-queue thread starts with the controller; the next thread
    // asked for is the listener's.
    QVERIFY(IOController::getInstance());
    Thread::failStartsForTesting(1);

    QString text;
    Controller controller;
    ModalAnswer::pressInNextBox(QMessageBox::Ok, nullptr, &text);
    controller.start();
    QCOMPARE(text, QString("Máy chủ không thể mở cổng listening (6) - (0)"));
    QCOMPARE(QCoreApplication::exec(), 1);
}

ORV_TEST_MAIN_DESKTOP(TestStartupThread)
#include "tst_startupthread.moc"
