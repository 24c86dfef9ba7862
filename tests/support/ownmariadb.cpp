#include "tests/support/ownmariadb.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <QTcpServer>
#include <QTcpSocket>

#include <pwd.h>
#include <unistd.h>

OwnMariaDb::OwnMariaDb() : OwnMariaDb(Options()) {}

OwnMariaDb::OwnMariaDb(const Options &options) : m_options(options)
{
    QTcpServer probe;
    if (probe.listen(QHostAddress::LocalHost, 0))
        m_port = probe.serverPort();
}

OwnMariaDb::~OwnMariaDb()
{
    stop();
}

bool OwnMariaDb::isRunning() const
{
    return m_server.state() != QProcess::NotRunning;
}

bool OwnMariaDb::start(QString *error)
{
    if (!m_dir.isValid() || m_port == 0) {
        *error = "no temporary folder or port for the database";
        return false;
    }
    const struct passwd *account = getpwuid(geteuid());
    const QString user = account ? QString::fromLocal8Bit(account->pw_name) : QStringLiteral("root");
    const QString data = m_dir.filePath("data");
    // A temporary folder of its own: a MariaDB starting elsewhere on the
    // machine clears the temporary tables it finds in a shared one.
    const QString temporary = m_dir.filePath("tmp");
    QDir().mkpath(temporary);
    if (!m_installed) {
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start("mariadb-install-db", {"--no-defaults", "--user=" + user, "--datadir=" + data,
                                             "--auth-root-authentication-method=socket", "--skip-test-db",
                                             "--tmpdir=" + temporary});
        if (!install.waitForFinished(120000) || install.exitCode() != 0) {
            *error = "mariadb-install-db: " + QString::fromLocal8Bit(install.readAll());
            return false;
        }
        m_installed = true;
    }
    m_server.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList arguments = {"--no-defaults", "--user=" + user, "--datadir=" + data,
                             "--port=" + QString::number(m_port), "--bind-address=127.0.0.1",
                             "--socket=" + socketPath(), "--pid-file=" + m_dir.filePath("mysqld.pid"),
                             "--log-error=" + m_dir.filePath("error.log"), "--tmpdir=" + temporary,
                             "--max-connections=" + QString::number(m_options.maxConnections),
                             "--character-set-server=utf8mb4", "--collation-server=utf8mb4_unicode_ci"};
    if (!m_options.grantTables)
        arguments << "--skip-grant-tables";
    m_server.start("mariadbd", arguments);
    if (!m_server.waitForStarted(10000)) {
        *error = "mariadbd did not start: " + m_server.errorString();
        return false;
    }
    // Ready once it takes connections on its port.
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(500) && socket.waitForReadyRead(2000)) {
            if (!m_options.grantTables)
                return true;
            // The environment's account, as scripts/test makes it.
            const QString account = qEnvironmentVariable("ORV_DB_USER", "orv");
            const QString password = qEnvironmentVariable("ORV_DB_PASS", "orv-test-pass");
            return grantAccount("tests", account, password, error);
        }
        if (m_server.state() == QProcess::NotRunning) {
            *error = "mariadbd ended at start-up; see " + m_dir.filePath("error.log");
            return false;
        }
        QThread::msleep(100);
    }
    *error = "mariadbd did not answer on its port";
    return false;
}

bool OwnMariaDb::stop()
{
    if (m_server.state() == QProcess::NotRunning)
        return true;
    m_server.terminate();
    if (m_server.waitForFinished(60000))
        return true;
    m_server.kill();
    return m_server.waitForFinished(10000);
}

bool OwnMariaDb::grantAccount(const QString &kind, const QString &user, const QString &password, QString *error,
                              const QString &mainDb, const QString &auxDb) const
{
    QProcess shell;
    shell.setProcessChannelMode(QProcess::MergedChannels);
    shell.start("bash", {"-c", ". \"$1\" && orv_db_account \"$2\" \"$3\" \"$4\" \"$5\" \"$6\" \"$7\"", "account",
                         QStringLiteral(ORV_SOURCE_DIR "/scripts/lib/common.sh"), socketPath(), kind, password,
                         user, mainDb.isEmpty() ? QStringLiteral("orv") : mainDb,
                         auxDb.isEmpty() ? QStringLiteral("quenlor") : auxDb});
    if (!shell.waitForFinished(60000) || shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0) {
        *error = "orv_db_account " + kind + " " + user + ": " + QString::fromLocal8Bit(shell.readAll());
        return false;
    }
    return true;
}

bool OwnMariaDb::runAsRoot(const QString &sql, QString *error) const
{
    QProcess client;
    client.setProcessChannelMode(QProcess::MergedChannels);
    client.start("mariadb", {"--no-defaults", "-uroot", "--socket=" + socketPath(), "-e", sql});
    if (!client.waitForFinished(30000) || client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0) {
        *error = "mariadb -uroot: " + QString::fromLocal8Bit(client.readAll());
        return false;
    }
    return true;
}

void OwnMariaDb::exportToEnvironment() const
{
    qputenv("ORV_DB_HOST", "127.0.0.1");
    qputenv("ORV_DB_PORT", QByteArray::number(m_port));
    if (qEnvironmentVariableIsEmpty("ORV_DB_USER"))
        qputenv("ORV_DB_USER", "orv");
    if (qEnvironmentVariableIsEmpty("ORV_DB_PASS"))
        qputenv("ORV_DB_PASS", "orv-test-pass");
}
