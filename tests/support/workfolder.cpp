#include "tests/support/workfolder.h"

#include "tests/support/testdb.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>

WorkFolder::WorkFolder(const QString &suite) : WorkFolder(suite, Options()) {}

WorkFolder::WorkFolder(const QString &suite, const Options &options)
    : m_previousDir(QDir::currentPath()), m_suite(suite), m_mainDb("orv_" + suite),
      m_auxDb("aux_" + suite), m_mainConnection("workfolder-main-" + suite),
      m_auxConnection("workfolder-aux-" + suite)
{
    prepare(options);
}

WorkFolder::~WorkFolder()
{
    QDir::setCurrent(m_previousDir);
    for (const QString &name : {m_mainConnection, m_auxConnection}) {
        if (QSqlDatabase::contains(name)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
    }
}

void WorkFolder::prepare(const Options &options)
{
    if (!m_dir.isValid()) {
        m_error = "cannot create a temporary folder: " + m_dir.errorString();
        return;
    }
    const QDir root(m_dir.path());
    if (!root.mkpath("config") || !root.mkpath("videos")) {
        m_error = "cannot create config/ and videos/ in " + m_dir.path();
        return;
    }

    const TestDb::Server server = TestDb::server();
    QString error;
    if (options.mainReachable) {
        if (!TestDb::recreateMain(m_mainDb, &error)) {
            m_error = error;
            return;
        }
    }
    if (!TestDb::recreate(m_auxDb, {TestDb::sourcePath("tests/fixtures/aux_schema.sql")}, &error)) {
        m_error = error;
        return;
    }
    QString auxUser = server.user;
    QString auxPassword = server.password;
    if (options.auxReadOnly) {
        auxUser = "ro_" + m_suite.left(60);
        auxPassword = "ro-" + m_suite;
        if (!TestDb::createReadOnlyUser(auxUser, auxPassword, m_auxDb)) {
            m_error = "cannot create the read-only account " + auxUser;
            return;
        }
    }

    m_port = freePort();
    const int mainPort = options.mainReachable ? server.port : freePort();
    const QByteArray runMode = "AUTO_PRINT:" + QByteArray::number(options.autoPrint)
        + "\nAUTO_UPDATE_RESULT_OF_FRIEND_DB:" + QByteArray::number(options.timeUpdateTheoryResult)
        + "\nCHECK_PASSING_THEORY:" + QByteArray(options.checkPassingTheory ? "1" : "0") + "\n";

    QFile ndsh(TestDb::sourcePath("workdir/config/NDSH.json"));
    QByteArray ndshBytes;
    if (ndsh.open(QIODevice::ReadOnly))
        ndshBytes = ndsh.readAll();
    else
        ndshBytes = "{\n    \"NOT_TEST_SIMULATION\": [5, 6, 7, 8],\n"
                    "    \"NOT_TEST_THEORY_RESULT\": [3],\n"
                    "    \"CONTEST_CONTENT_LIST\": [1, 2, 3, 4, 5, 6, 7, 8]\n}\n";

    const bool written =
        writeFile("config/connection_mysql.csv",
                  mysqlConfig(m_mainDb, mainPort, server.user, server.password))
        && writeFile("config/aux_connection_mysql.csv",
                     mysqlConfig(m_auxDb, server.port, auxUser, auxPassword))
        && writeFile("config/connection_tcp.csv", "SERVER:" + QByteArray::number(m_port))
        && writeFile("config/run_mode.csv", runMode)
        && writeFile("config/avatar_config.csv",
                     "IMPORT_AVATAR_FOLDER_ON:" + QByteArray::number(options.importAvatarFolderOn))
        && writeFile("config/NDSH.json", ndshBytes);
    if (!written) {
        m_error = "cannot write the config files in " + m_dir.path();
        return;
    }
    if (!QDir::setCurrent(m_dir.path()))
        m_error = "cannot enter " + m_dir.path();
}

QByteArray WorkFolder::mysqlConfig(const QString &dbName, int port, const QString &user,
                                   const QString &password)
{
    const QString host = TestDb::server().host.isEmpty() ? "127.0.0.1" : TestDb::server().host;
    return QString("HOST_NAME:%1\nPORT_NUMBER:%2\nMYSQL_DB_NAME:%3\nMYSQL_USERNAME:%4\nMYSQL_PASS:%5\n")
        .arg(host)
        .arg(port)
        .arg(dbName, user, password)
        .toUtf8();
}

QString WorkFolder::path() const
{
    return m_dir.path();
}

QString WorkFolder::filePath(const QString &relative) const
{
    return m_dir.filePath(relative);
}

QSqlDatabase WorkFolder::mainAdmin()
{
    return TestDb::open(m_mainConnection, m_mainDb);
}

QSqlDatabase WorkFolder::auxAdmin()
{
    return TestDb::open(m_auxConnection, m_auxDb);
}

bool WorkFolder::writeFile(const QString &relative, const QByteArray &bytes) const
{
    QFile file(m_dir.filePath(relative));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool whole = file.write(bytes) == bytes.size();
    file.close();
    return whole && file.error() == QFileDevice::NoError;
}

QByteArray WorkFolder::readFile(const QString &relative) const
{
    QFile file(m_dir.filePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

quint16 WorkFolder::freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
