// Login routing, as orvserver --login starts: the login dialog comes first,
// an administrator gets the main window, a super-administrator the video
// window, every other answer (wrong password, unknown name, another role)
// leaves the dialog open; each sign-out returns to the dialog with both
// fields empty, and Escape never closes it.

#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"
#include "app/controller.h"
#include "ui/logindialog.h"
#include "ui/mainwindow.h"
#include "ui/superadminwindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>

#include <memory>

class TestControllerLogin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void startsWithTheLoginDialog();
    void refusedLogins_data();
    void refusedLogins();
    void escapeKeepsTheDialog();
    void administratorGetsTheMainWindow();
    void administratorSignsOut();
    void superAdministratorGetsItsWindow();
    void superAdministratorSignsOut();

private:
    template<typename T> T *window() const;
    void signIn(const QString &name, const QString &password);
    // The top-level windows on screen, by object name.
    static QStringList visibleWindows();

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<Controller> m_controller;
};

template<typename T> T *TestControllerLogin::window() const
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(widget))
            return found;
    }
    return nullptr;
}

QStringList TestControllerLogin::visibleWindows()
{
    QStringList names;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            names << widget->objectName();
    }
    names.sort();
    return names;
}

void TestControllerLogin::signIn(const QString &name, const QString &password)
{
    auto *dialog = window<LoginDialog>();
    QVERIFY(dialog);
    dialog->findChild<QLineEdit *>("lineEditName")->setText(name);
    dialog->findChild<QLineEdit *>("lineEditPassword")->setText(password);
    dialog->findChild<QPushButton *>("btnLogin")->click();
}

void TestControllerLogin::initTestCase()
{
    m_folder.reset(new WorkFolder("uilogin"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QSqlQuery insert(m_folder->mainAdmin());
    QVERIFY(insert.prepare("INSERT INTO taikhoan (IDTaiKhoan, HoTen, Quyen, MatKhau) "
                           "VALUES (:IDTaiKhoan, :HoTen, :Quyen, :MatKhau)"));
    const QList<QPair<QString, int>> accounts = {{"admin", 2}, {"super", 3}, {"clerk", 1}};
    for (const auto &account : accounts) {
        insert.bindValue(":IDTaiKhoan", account.first);
        insert.bindValue(":HoTen", "Nguyễn Văn " + account.first);
        insert.bindValue(":Quyen", account.second);
        insert.bindValue(":MatKhau", LoginDialog::passwordDigest("mật khẩu " + account.first));
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
    }

    m_controller.reset(new Controller());
    m_controller->start(Controller::FirstWindow::Login);
}

void TestControllerLogin::cleanupTestCase()
{
    m_controller.reset();
    m_folder.reset();
}

void TestControllerLogin::startsWithTheLoginDialog()
{
    QCOMPARE(visibleWindows(), QStringList{"LoginDialog"});
    QVERIFY(window<LoginDialog>()->isModal());
}

void TestControllerLogin::refusedLogins_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::newRow("wrong password") << "admin" << "mật khẩu super";
    QTest::newRow("unknown name") << "nobody" << "mật khẩu nobody";
    QTest::newRow("role 1") << "clerk" << "mật khẩu clerk";
}

void TestControllerLogin::refusedLogins()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    signIn(name, password);
    QCOMPARE(visibleWindows(), QStringList{"LoginDialog"});
}

void TestControllerLogin::escapeKeepsTheDialog()
{
    QTest::keyClick(window<LoginDialog>(), Qt::Key_Escape);
    QCOMPARE(visibleWindows(), QStringList{"LoginDialog"});
}

void TestControllerLogin::administratorGetsTheMainWindow()
{
    signIn("admin", "mật khẩu admin");
    QCOMPARE(visibleWindows(), QStringList{"MainWindow"});
    QVERIFY(window<MainWindow>()->windowState() & Qt::WindowMaximized);
}

void TestControllerLogin::administratorSignsOut()
{
    emit window<MainWindow>()->notifySignoutAdmin();
    QCOMPARE(visibleWindows(), QStringList{"LoginDialog"});
    auto *dialog = window<LoginDialog>();
    QCOMPARE(dialog->findChild<QLineEdit *>("lineEditName")->text(), QString());
    QCOMPARE(dialog->findChild<QLineEdit *>("lineEditPassword")->text(), QString());
}

void TestControllerLogin::superAdministratorGetsItsWindow()
{
    signIn("super", "mật khẩu super");
    QCOMPARE(visibleWindows(), QStringList{"SuperAdminWindow"});
    QVERIFY(window<SuperAdminWindow>()->windowState() & Qt::WindowMaximized);
}

void TestControllerLogin::superAdministratorSignsOut()
{
    window<SuperAdminWindow>()->findChild<QPushButton *>("btnLogout")->click();
    QCOMPARE(visibleWindows(), QStringList{"LoginDialog"});
    QCOMPARE(window<LoginDialog>()->findChild<QLineEdit *>("lineEditName")->text(), QString());
}

ORV_TEST_MAIN_DESKTOP(TestControllerLogin)
#include "tst_controllerlogin.moc"
