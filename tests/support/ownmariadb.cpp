#include "tests/support/ownmariadb.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <QTcpServer>
#include <QTcpSocket>

#include <pwd.h>
#include <unistd.h>

OwnMariaDb::OwnMariaDb()
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
    m_server.start("mariadbd", {"--no-defaults", "--user=" + user, "--datadir=" + data,
                                "--port=" + QString::number(m_port), "--bind-address=127.0.0.1",
                                "--socket=" + m_dir.filePath("mysqld.sock"),
                                "--pid-file=" + m_dir.filePath("mysqld.pid"),
                                "--log-error=" + m_dir.filePath("error.log"), "--tmpdir=" + temporary,
                                "--skip-grant-tables",
                                "--max-connections=1000", "--character-set-server=utf8mb4",
                                "--collation-server=utf8mb4_unicode_ci"});
    if (!m_server.waitForStarted(10000)) {
        *error = "mariadbd did not start: " + m_server.errorString();
        return false;
    }
    // Ready once it takes connections on its port.
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(500) && socket.waitForReadyRead(2000))
            return true;
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

void OwnMariaDb::exportToEnvironment() const
{
    qputenv("ORV_DB_HOST", "127.0.0.1");
    qputenv("ORV_DB_PORT", QByteArray::number(m_port));
    if (qEnvironmentVariableIsEmpty("ORV_DB_USER"))
        qputenv("ORV_DB_USER", "orv");
    if (qEnvironmentVariableIsEmpty("ORV_DB_PASS"))
        qputenv("ORV_DB_PASS", "orv-test-pass");
}
