// The sign-in dialog: what it hands on for what was typed, and that nothing
// but the program can take it off the screen.

#include "common/constants.h"
#include "ui/logindialog.h"

#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

class TestLoginDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void formAsGiven();
    void loginEmitsNameAndDigest_data();
    void loginEmitsNameAndDigest();
    void forgottenPasswordLinkDoesNothing();
    void showForLoginClearsTheFields();
    void onlyTheProgramClosesIt();

private:
    QLineEdit *name() const { return m_dialog->findChild<QLineEdit *>("lineEditName"); }
    QLineEdit *password() const { return m_dialog->findChild<QLineEdit *>("lineEditPassword"); }
    QPushButton *loginButton() const { return m_dialog->findChild<QPushButton *>("btnLogin"); }

    LoginDialog *m_dialog = nullptr;
};

void TestLoginDialog::init()
{
    m_dialog = new LoginDialog;
}

void TestLoginDialog::cleanup()
{
    delete m_dialog;
    m_dialog = nullptr;
}

void TestLoginDialog::formAsGiven()
{
    QVERIFY(name());
    QVERIFY(password());
    QVERIFY(loginButton());
    m_dialog->showForLogin();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    // For looking at it: ORV_SCREENSHOT_DIR=folder.
    if (qEnvironmentVariableIsSet("ORV_SCREENSHOT_DIR"))
        m_dialog->grab().save(qEnvironmentVariable("ORV_SCREENSHOT_DIR") + "/login-dialog.png");
    QVERIFY(m_dialog->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(name()->placeholderText(), QString("Tên đăng nhập"));
    QCOMPARE(password()->placeholderText(), QString("Mật khẩu"));
    QCOMPARE(loginButton()->text(), QString("Đăng nhập"));
    // A password typed in view of the candidates' room is not shown.
    QCOMPARE(password()->echoMode(), QLineEdit::Password);

    auto *link = m_dialog->findChild<QLabel *>("labelForgotPass");
    QVERIFY(link);
    QCOMPARE(link->text(), FORGOT_PASSWORD_LINK);
    QCOMPARE(link->textInteractionFlags(), Qt::TextBrowserInteraction);

    // Each field carries its icon in front of the text.
    for (QLineEdit *field : {name(), password()}) {
        QCOMPARE(field->actions().size(), 1);
        QVERIFY2(!field->actions().first()->icon().isNull(), qPrintable(field->objectName()));
    }
}

void TestLoginDialog::loginEmitsNameAndDigest_data()
{
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("typedPassword");
    QTest::addColumn<QString>("digest");

    QTest::newRow("empty name and password")
        << QString() << QString() << "d41d8cd98f00b204e9800998ecf8427e";
    QTest::newRow("lower case") << "admin" << "admin" << "21232f297a57a5a743894a0e4a801fc3";
    QTest::newRow("letter case kept") << "admin" << "Admin" << "e3afed0047b08059d0fada10f400c1e5";
    QTest::newRow("name with blanks around it")
        << "  Quản trị  " << "matkhau" << "a788f6d55914857d4b97c1de99cb896b";
    // Over the UTF-8 bytes: a Vietnamese code page would give 907f06d1....
    QTest::newRow("Vietnamese password")
        << "admin" << "Mật khẩu" << "3a66486f07f399ffaa75e5967c0f4174";
}

void TestLoginDialog::loginEmitsNameAndDigest()
{
    QFETCH(QString, typedName);
    QFETCH(QString, typedPassword);
    QFETCH(QString, digest);

    m_dialog->showForLogin();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    name()->setText(typedName);
    password()->setText(typedPassword);
    QSignalSpy spy(m_dialog, &LoginDialog::notifyValidateLogin);
    QTest::mouseClick(loginButton(), Qt::LeftButton);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), typedName);
    QCOMPARE(spy.at(0).at(1).toString(), digest);
    // Whether it closes is for the listener to decide.
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(name()->text(), typedName);
    QCOMPARE(password()->text(), typedPassword);
}

void TestLoginDialog::forgottenPasswordLinkDoesNothing()
{
    m_dialog->showForLogin();
    name()->setText("admin");
    password()->setText("admin");
    QSignalSpy spy(m_dialog, &LoginDialog::notifyValidateLogin);
    auto *link = m_dialog->findChild<QLabel *>("labelForgotPass");
    QVERIFY(QMetaObject::invokeMethod(link, "linkActivated", Q_ARG(QString, "whatever")));

    QCOMPARE(spy.count(), 0);
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(name()->text(), QString("admin"));
    QCOMPARE(password()->text(), QString("admin"));
}

void TestLoginDialog::showForLoginClearsTheFields()
{
    name()->setText("super");
    password()->setText("secret");

    m_dialog->showForLogin();

    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_dialog->isModal());
    QVERIFY(name()->text().isEmpty());
    QVERIFY(password()->text().isEmpty());
}

void TestLoginDialog::onlyTheProgramClosesIt()
{
    m_dialog->showForLogin();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    QSignalSpy rejected(m_dialog, &QDialog::rejected);

    // Escape, from the field that has the focus.
    name()->setFocus();
    QTest::keyClick(name(), Qt::Key_Escape);
    QVERIFY(m_dialog->isVisible());

    // A close from the window system (as a window manager's close key).
    QVERIFY(m_dialog->windowHandle());
    QVERIFY(!m_dialog->windowHandle()->close());
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(rejected.count(), 0);

    // After a sign-in the program closes it.
    QVERIFY(m_dialog->close());
    QVERIFY(!m_dialog->isVisible());
}

ORV_TEST_MAIN_DESKTOP(TestLoginDialog)
#include "tst_logindialog.moc"
