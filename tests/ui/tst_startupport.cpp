// Start-up with the terminals' port held by another listener: the port box
// with the failed step and the socket error, then the event loop ends with
// status 1 and no main window was shown.

#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"
#include "tests/ui/modalanswer.h"
#include "app/controller.h"
#include "ui/mainwindow.h"

#include <QTcpServer>

class TestStartupPort : public QObject
{
    Q_OBJECT

private slots:
    void portBoxThenStatusOne();
};

void TestStartupPort::portBoxThenStatusOne()
{
    WorkFolder folder("uiport");
    QVERIFY2(folder.isValid(), qPrintable(folder.error()));
    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress::AnyIPv4, folder.port()));

    QString title;
    QString text;
    {
        Controller controller;
        ModalAnswer::pressInNextBox(QMessageBox::Ok, &title, &text);
        controller.start();
        QCOMPARE(title, QString("Cảnh báo"));
        QCOMPARE(text, QString("Máy chủ không thể mở cổng listening (4) - (98)"));
        QCOMPARE(QCoreApplication::exec(), 1);
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!qobject_cast<MainWindow *>(window) || !window->isVisible(), "main window shown");
    }
}

ORV_TEST_MAIN_DESKTOP(TestStartupPort)
#include "tst_startupport.moc"
