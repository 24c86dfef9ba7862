// scripts/account writes the row the program signs in with: a name and
// password stored by the script, typed into the login dialog, give the
// stored role through the business controller; refused input changes
// nothing. The business controller is a process singleton: one working
// folder for the whole executable.

#include "server/business/businesscontroller.h"
#include "server/network/iocontroller.h"
#include "ui/logindialog.h"

#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/support/workfolder.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>

#include <memory>

class TestAccount : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void storedAccountSignsIn_data();
    void storedAccountSignsIn();
    void newPasswordReplacesTheOld();
    void refusedInputChangesNothing_data();
    void refusedInputChangesNothing();

private:
    // Runs the script with `input` on its standard input; its exit status,
    // -1 when it did not run.
    int runScript(const QStringList &arguments, const QByteArray &input);
    // The role the business controller gives for what is typed into the
    // login dialog.
    int signIn(const QString &name, const QString &password);
    int accounts() { return TestDb::count(m_folder->mainAdmin(), "SELECT COUNT(*) FROM taikhoan"); }

    std::unique_ptr<WorkFolder> m_folder;
    BusinessController *m_controller = nullptr;
    QString m_output;
};

void TestAccount::initTestCase()
{
    m_folder.reset(new WorkFolder("account"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    m_controller = BusinessController::getInstance();
    QVERIFY(m_controller);
    QCOMPARE(m_controller->isDbConnectionFailed(), 0);
}

void TestAccount::cleanupTestCase()
{
    IOController::destroyInstance();
}

int TestAccount::runScript(const QStringList &arguments, const QByteArray &input)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    // As from a service or an ssh session without a UTF-8 locale: the names
    // must still be stored as typed.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("LC_ALL");
    environment.remove("LC_CTYPE");
    environment.insert("LANG", "C");
    script.setProcessEnvironment(environment);
    script.start("bash", QStringList{TestDb::sourcePath("scripts/account")} + arguments);
    if (!script.waitForStarted())
        return -1;
    script.write(input);
    script.closeWriteChannel();
    if (!script.waitForFinished(30000))
        return -1;
    m_output = QString::fromUtf8(script.readAll());
    return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
}

int TestAccount::signIn(const QString &name, const QString &password)
{
    LoginDialog dialog;
    dialog.findChild<QLineEdit *>("lineEditName")->setText(name);
    dialog.findChild<QLineEdit *>("lineEditPassword")->setText(password);
    int role = -2;
    connect(&dialog, &LoginDialog::notifyValidateLogin, this,
            [&](const QString &userName, const QString &digest) {
                role = m_controller->validateLogin(userName, digest);
            });
    dialog.findChild<QPushButton *>("btnLogin")->click();
    return role;
}

void TestAccount::storedAccountSignsIn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("password");

    QTest::newRow("super-administrator") << "super" << 3 << "Mật khẩu";
    QTest::newRow("administrator") << "quản trị" << 2 << "admin";
    QTest::newRow("quotes in name and password")
        << "o'brien\"; DROP TABLE taikhoan; --" << 2 << "it's \\ \"quoted\"";
    QTest::newRow("blanks kept") << " spaced " << 3 << "  two blanks  ";
    // The limit is the column's 64 characters, not 64 bytes.
    QTest::newRow("64 letters with diacritics") << QString(64, QChar(0x1EC7)) << 2 << "pw";
}

void TestAccount::storedAccountSignsIn()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, password);

    const QByteArray input = (password + '\n' + password + '\n').toUtf8();
    QCOMPARE(runScript({name, QString::number(role), m_folder->path()}, input), 0);

    QCOMPARE(signIn(name, password), role);
    // Exactly as typed: another case of a letter is another password.
    QCOMPARE(signIn(name, password.toUpper() == password ? password.toLower() : password.toUpper()), -1);
    QCOMPARE(signIn(name.trimmed() + "x", password), -1);
}

void TestAccount::newPasswordReplacesTheOld()
{
    QCOMPARE(runScript({"rotating", "3", m_folder->path()}, "first\n"), 0);
    const int count = accounts();
    QCOMPARE(runScript({"rotating", "2", m_folder->path()}, "second\nsecond\n"), 0);

    QCOMPARE(accounts(), count);
    QCOMPARE(signIn("rotating", "first"), -1);
    QCOMPARE(signIn("rotating", "second"), 2);
}

void TestAccount::refusedInputChangesNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");

    QTest::newRow("role 1") << QStringList{"refused", "1"} << QByteArray("pw\npw\n");
    QTest::newRow("role 4") << QStringList{"refused", "4"} << QByteArray("pw\npw\n");
    QTest::newRow("role not a number") << QStringList{"refused", "3;"} << QByteArray("pw\npw\n");
    QTest::newRow("empty name") << QStringList{"", "3"} << QByteArray("pw\npw\n");
    QTest::newRow("name too long") << QStringList{QString(65, 'n'), "3"} << QByteArray("pw\npw\n");
    QTest::newRow("passwords differ") << QStringList{"refused", "3"} << QByteArray("pw\npx\n");
    QTest::newRow("empty password") << QStringList{"refused", "3"} << QByteArray("\n\n");
    QTest::newRow("no working folder") << QStringList{"refused", "3", "/nonexistent"}
                                       << QByteArray("pw\npw\n");
}

void TestAccount::refusedInputChangesNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);

    const int count = accounts();
    if (arguments.size() == 2)
        arguments << m_folder->path();
    const int status = runScript(arguments, input);
    QVERIFY2(status > 0, qPrintable(m_output));
    QVERIFY2(!m_output.trimmed().isEmpty(), "a refusal says why");
    QCOMPARE(accounts(), count);
}

ORV_TEST_MAIN_DESKTOP(TestAccount)
#include "tst_account.moc"
