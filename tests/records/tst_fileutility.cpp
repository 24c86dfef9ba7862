// The ./config files: defaults written byte for byte for the operator to edit,
// the per-file trimming rules, and files saved on Windows. Each case runs in a
// fresh working folder.

#include "records/fileutility.h"
#include "tests/support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

struct RunMode
{
    int autoPrint = -7;
    int timeUpdate = -7;
    bool checkTheory = true;
};

RunMode readRunMode(const FileUtility &files)
{
    RunMode mode;
    files.readRunModeConfig(mode.autoPrint, mode.timeUpdate, mode.checkTheory);
    return mode;
}

enum Reader { Tcp, MainMysql, AuxMysql, RunModeFile, Avatar };

} // namespace

Q_DECLARE_METATYPE(Reader)

class TestFileUtility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultFiles_data();
    void defaultFiles();
    void noConfigFolderWritesNothing();
    void existingUnreadableFileIsKept();
    void emptyFileIsNotRewritten_data();
    void emptyFileIsNotRewritten();

    void tcpPort_data();
    void tcpPort();
    void mysql_data();
    void mysql();
    void runMode_data();
    void runMode();
    void avatar_data();
    void avatar();

    void writeRunModeConfig();
    void writeRunModeConfigWithoutFolder();

private:
    void runReader(Reader reader);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    FileUtility m_files;
};

void TestFileUtility::init()
{
    m_previousDir = QDir::currentPath();
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkdir("config"));
}

void TestFileUtility::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestFileUtility::runReader(Reader reader)
{
    int number = 0;
    int other = 0;
    bool flag = false;
    switch (reader) {
    case Tcp:
        m_files.readTcpConnectionConfig();
        break;
    case MainMysql:
        m_files.readMysqlConnectionConfig("./config/connection_mysql.csv");
        break;
    case AuxMysql:
        m_files.readMysqlConnectionConfig("./config/aux_connection_mysql.csv");
        break;
    case RunModeFile:
        m_files.readRunModeConfig(number, other, flag);
        break;
    case Avatar:
        m_files.readAvatarConfig(number);
        break;
    }
}

void TestFileUtility::defaultFiles_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("size");
    QTest::newRow("tcp") << Tcp << "config/connection_tcp.csv" << QByteArray("SERVER:6886") << 11;
    QTest::newRow("main mysql") << MainMysql << "config/connection_mysql.csv"
                                << QByteArray("HOST_NAME:127.0.0.1\nPORT_NUMBER:3306\nMYSQL_DB_NAME:orv\n"
                                              "MYSQL_USERNAME:root\nMYSQL_PASS:570913\n")
                                << 93;
    QTest::newRow("aux mysql") << AuxMysql << "config/aux_connection_mysql.csv"
                               << QByteArray("HOST_NAME:127.0.0.1\nPORT_NUMBER:3306\nMYSQL_DB_NAME:quenlor\n"
                                             "MYSQL_USERNAME:root\nMYSQL_PASS:570913\n")
                               << 97;
    QTest::newRow("run mode") << RunModeFile << "config/run_mode.csv"
                              << QByteArray("AUTO_PRINT:1\nAUTO_UPDATE_RESULT_OF_FRIEND_DB:120\n"
                                            "CHECK_PASSING_THEORY:0\n")
                              << 72;
    QTest::newRow("avatar") << Avatar << "config/avatar_config.csv" << QByteArray("IMPORT_AVATAR_FOLDER_ON:0")
                            << 25;
}

void TestFileUtility::defaultFiles()
{
    QFETCH(Reader, reader);
    QFETCH(QString, path);
    QFETCH(QByteArray, bytes);
    QFETCH(int, size);

    QVERIFY(!QFile::exists(path));
    runReader(reader);
    const QByteArray written = readAll(path);
    QCOMPARE(written, bytes);
    QCOMPARE(written.size(), size);
    // Nothing but the reader's own file is created.
    QCOMPARE(QDir("config").entryList(QDir::Files).size(), 1);

    // The defaults read back as the defaults, and the file stays as it is.
    runReader(reader);
    QCOMPARE(readAll(path), bytes);
}

void TestFileUtility::noConfigFolderWritesNothing()
{
    QVERIFY(QDir("config").removeRecursively());

    QCOMPARE(m_files.readTcpConnectionConfig(), QString("6886"));
    const MySqlConnectionInfo main = m_files.readMysqlConnectionConfig("./config/connection_mysql.csv");
    QCOMPARE(main.getHost(), QString("127.0.0.1"));
    QCOMPARE(main.getPort(), 3306);
    QCOMPARE(main.getDbName(), QString("orv"));
    QCOMPARE(main.getUserName(), QString("root"));
    QCOMPARE(main.getPassword(), QString("570913"));
    QCOMPARE(m_files.readMysqlConnectionConfig("./config/aux_connection_mysql.csv").getDbName(),
             QString("quenlor"));
    const RunMode mode = readRunMode(m_files);
    QCOMPARE(mode.autoPrint, 1);
    QCOMPARE(mode.timeUpdate, 120);
    QCOMPARE(mode.checkTheory, false);
    int avatar = -7;
    m_files.readAvatarConfig(avatar);
    QCOMPARE(avatar, 0);

    QVERIFY(!QDir("config").exists());
    QVERIFY(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

void TestFileUtility::existingUnreadableFileIsKept()
{
    // A file that exists but cannot be read holds the operator's settings:
    // the reader falls back to the defaults without overwriting it.
    const QByteArray mine("HOST_NAME:10.0.0.5\nPORT_NUMBER:3307\n");
    writeFile("config/connection_mysql.csv", mine);
    QFile::setPermissions("config/connection_mysql.csv", QFileDevice::WriteOwner);
    QFile probe("config/connection_mysql.csv");
    if (probe.open(QIODevice::ReadOnly))
        QSKIP("running with rights that read any file");

    const MySqlConnectionInfo info = m_files.readMysqlConnectionConfig("./config/connection_mysql.csv");
    QCOMPARE(info.getHost(), QString("127.0.0.1"));
    QFile::setPermissions("config/connection_mysql.csv", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(readAll("config/connection_mysql.csv"), mine);
}

void TestFileUtility::emptyFileIsNotRewritten_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("path");
    QTest::newRow("tcp") << Tcp << "config/connection_tcp.csv";
    QTest::newRow("main mysql") << MainMysql << "config/connection_mysql.csv";
    QTest::newRow("run mode") << RunModeFile << "config/run_mode.csv";
    QTest::newRow("avatar") << Avatar << "config/avatar_config.csv";
}

void TestFileUtility::emptyFileIsNotRewritten()
{
    QFETCH(Reader, reader);
    QFETCH(QString, path);
    writeFile(path, QByteArray());
    runReader(reader);
    QCOMPARE(readAll(path), QByteArray());
}

void TestFileUtility::tcpPort_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("port");
    QTest::newRow("lf") << QByteArray("SERVER:7000\n") << "7000";
    QTest::newRow("crlf") << QByteArray("SERVER:7000\r\n") << "7000";
    QTest::newRow("no line end") << QByteArray("SERVER:7000") << "7000";
    // Keys are not compared; the last line with a colon wins.
    QTest::newRow("last line wins") << QByteArray("PORT : 7000\nX:7100\n") << "7100";
    QTest::newRow("crlf, last line wins") << QByteArray("PORT : 7000\r\nX:7100\r\n") << "7100";
    QTest::newRow("value trimmed") << QByteArray("SERVER:\t 7001 \r\n") << "7001";
    QTest::newRow("line without colon") << QByteArray("SERVER:7002\n7003\n") << "7002";
    QTest::newRow("second colon") << QByteArray("SERVER:7004:1\n") << "7004";
    QTest::newRow("no colon anywhere") << QByteArray("7005\n") << "6886";
}

void TestFileUtility::tcpPort()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, port);
    writeFile("config/connection_tcp.csv", content);
    QCOMPARE(m_files.readTcpConnectionConfig(), port);
    QCOMPARE(readAll("config/connection_tcp.csv"), content);
}

void TestFileUtility::mysql_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("dbName");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");

    const QString main = "./config/connection_mysql.csv";
    const QString aux = "./config/aux_connection_mysql.csv";
    const QByteArray full("HOST_NAME:10.1.2.3\nPORT_NUMBER:3307\nMYSQL_DB_NAME:exam\n"
                          "MYSQL_USERNAME:server\nMYSQL_PASS:s3cret\n");
    QTest::newRow("lf") << main << full << "10.1.2.3" << 3307 << "exam" << "server" << "s3cret";
    QTest::newRow("crlf") << main << QByteArray(full).replace("\n", "\r\n") << "10.1.2.3" << 3307 << "exam"
                          << "server" << "s3cret";
    QTest::newRow("crlf without last line end")
        << main << QByteArray(full).replace("\n", "\r\n").chopped(2) << "10.1.2.3" << 3307 << "exam" << "server"
        << "s3cret";
    QTest::newRow("utf-8 byte-order mark")
        << main << QByteArray("\xEF\xBB\xBFHOST_NAME:10.1.2.3\r\n") << "10.1.2.3" << 3306 << "orv" << "root"
        << "570913";
    QTest::newRow("key and value trimmed")
        << main << QByteArray("  HOST_NAME \t: 10.1.2.3 \n PORT_NUMBER : 3308 \n") << "10.1.2.3" << 3308 << "orv"
        << "root" << "570913";
    QTest::newRow("colon in password") << main << QByteArray("MYSQL_PASS:ab:cd\n") << "127.0.0.1" << 3306
                                       << "orv" << "root" << "ab";
    QTest::newRow("port not a number") << main << QByteArray("PORT_NUMBER:33o6\n") << "127.0.0.1" << 0 << "orv"
                                       << "root" << "570913";
    QTest::newRow("later line wins") << main << QByteArray("HOST_NAME:a\nHOST_NAME:b\n") << "b" << 3306 << "orv"
                                     << "root" << "570913";
    QTest::newRow("keys case-sensitive") << main << QByteArray("host_name:a\nMYSQL_DB_NAME:exam\n")
                                         << "127.0.0.1" << 3306 << "exam" << "root" << "570913";
    QTest::newRow("unknown keys and lines without colon")
        << main << QByteArray("COMMENT:x\njust text\nMYSQL_USERNAME:u\n") << "127.0.0.1" << 3306 << "orv" << "u"
        << "570913";
    QTest::newRow("empty password") << main << QByteArray("MYSQL_PASS:\n") << "127.0.0.1" << 3306 << "orv"
                                    << "root" << "";
    QTest::newRow("aux default name") << aux << QByteArray("HOST_NAME:10.9.9.9\n") << "10.9.9.9" << 3306
                                      << "quenlor" << "root" << "570913";
    QTest::newRow("aux name given") << aux << QByteArray("MYSQL_DB_NAME:theory\r\n") << "127.0.0.1" << 3306
                                    << "theory" << "root" << "570913";
}

void TestFileUtility::mysql()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, content);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, dbName);
    QFETCH(QString, user);
    QFETCH(QString, password);

    writeFile(path, content);
    const MySqlConnectionInfo info = m_files.readMysqlConnectionConfig(path);
    QCOMPARE(info.getHost(), host);
    QCOMPARE(info.getPort(), port);
    QCOMPARE(info.getDbName(), dbName);
    QCOMPARE(info.getUserName(), user);
    QCOMPARE(info.getPassword(), password);
    QCOMPARE(readAll(path), content);
}

void TestFileUtility::runMode_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("autoPrint");
    QTest::addColumn<int>("timeUpdate");
    QTest::addColumn<bool>("checkTheory");

    const QByteArray full("AUTO_PRINT:2\nAUTO_UPDATE_RESULT_OF_FRIEND_DB:60\nCHECK_PASSING_THEORY:1\n");
    QTest::newRow("lf") << full << 2 << 60 << true;
    QTest::newRow("crlf") << QByteArray(full).replace("\n", "\r\n") << 2 << 60 << true;
    QTest::newRow("blanks around the number") << QByteArray("AUTO_PRINT: 0 \r\n") << 0 << 120 << false;
    // Keys are compared as they stand here.
    QTest::newRow("blank before key") << QByteArray(" AUTO_PRINT:0\n") << 1 << 120 << false;
    QTest::newRow("blank after key") << QByteArray("AUTO_PRINT :0\n") << 1 << 120 << false;
    QTest::newRow("not a number keeps the default") << QByteArray("AUTO_PRINT:on\n") << 1 << 120 << false;
    QTest::newRow("not a number keeps an earlier line")
        << QByteArray("AUTO_PRINT:0\nAUTO_PRINT:x\n") << 0 << 120 << false;
    QTest::newRow("later line wins") << QByteArray("AUTO_UPDATE_RESULT_OF_FRIEND_DB:30\n"
                                                   "AUTO_UPDATE_RESULT_OF_FRIEND_DB:0\n")
                                     << 1 << 0 << false;
    QTest::newRow("check 1 then 0 stays on")
        << QByteArray("CHECK_PASSING_THEORY:1\nCHECK_PASSING_THEORY:0\n") << 1 << 120 << true;
    QTest::newRow("check other than 1 is off") << QByteArray("CHECK_PASSING_THEORY:2\n") << 1 << 120 << false;
    QTest::newRow("second colon") << QByteArray("AUTO_PRINT:2:5\n") << 2 << 120 << false;
    QTest::newRow("negative") << QByteArray("AUTO_UPDATE_RESULT_OF_FRIEND_DB:-5\n") << 1 << -5 << false;
}

void TestFileUtility::runMode()
{
    QFETCH(QByteArray, content);
    QFETCH(int, autoPrint);
    QFETCH(int, timeUpdate);
    QFETCH(bool, checkTheory);

    writeFile("config/run_mode.csv", content);
    const RunMode mode = readRunMode(m_files);
    QCOMPARE(mode.autoPrint, autoPrint);
    QCOMPARE(mode.timeUpdate, timeUpdate);
    QCOMPARE(mode.checkTheory, checkTheory);
}

void TestFileUtility::avatar_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("value");
    QTest::newRow("on") << QByteArray("IMPORT_AVATAR_FOLDER_ON:1") << 1;
    QTest::newRow("on, crlf") << QByteArray("IMPORT_AVATAR_FOLDER_ON:1\r\n") << 1;
    QTest::newRow("not a number") << QByteArray("IMPORT_AVATAR_FOLDER_ON:yes\n") << 0;
    QTest::newRow("blank before key") << QByteArray(" IMPORT_AVATAR_FOLDER_ON:1\n") << 0;
    QTest::newRow("other key") << QByteArray("AUTO_PRINT:1\n") << 0;
}

void TestFileUtility::avatar()
{
    QFETCH(QByteArray, content);
    QFETCH(int, value);
    writeFile("config/avatar_config.csv", content);
    int read = -7;
    m_files.readAvatarConfig(read);
    QCOMPARE(read, value);
}

void TestFileUtility::writeRunModeConfig()
{
    writeFile("config/run_mode.csv", QByteArray("AUTO_PRINT:0\nSOMETHING:ELSE\nAUTO_PRINT:0\n"));
    QVERIFY(m_files.writeRunModeConfig(2, 45, true));
    QCOMPARE(readAll("config/run_mode.csv"),
             QByteArray("AUTO_PRINT:2\nAUTO_UPDATE_RESULT_OF_FRIEND_DB:45\nCHECK_PASSING_THEORY:1\n"));
    RunMode mode = readRunMode(m_files);
    QCOMPARE(mode.autoPrint, 2);
    QCOMPARE(mode.timeUpdate, 45);
    QCOMPARE(mode.checkTheory, true);

    QVERIFY(m_files.writeRunModeConfig(0, 0, false));
    mode = readRunMode(m_files);
    QCOMPARE(mode.autoPrint, 0);
    QCOMPARE(mode.timeUpdate, 0);
    QCOMPARE(mode.checkTheory, false);
}

void TestFileUtility::writeRunModeConfigWithoutFolder()
{
    QVERIFY(QDir("config").removeRecursively());
    QVERIFY(!m_files.writeRunModeConfig(1, 120, false));
    QVERIFY(!QDir("config").exists());
}

ORV_TEST_MAIN_CORE(TestFileUtility)
#include "tst_fileutility.moc"
