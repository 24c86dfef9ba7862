#ifndef TESTS_SUPPORT_OWNMARIADB_H
#define TESTS_SUPPORT_OWNMARIADB_H

// A MariaDB server of a suite's own, for suites that stop the database under
// the program: the other suites share the one scripts/test starts and must
// never see it go. Its data live in a temporary folder; it listens on a
// loopback port that stays the same across stop() and start(), as a server
// an operator restarts does. By default accounts are not checked (the server
// runs without its grant tables), so the ORV_DB_* account of the environment
// works as it is; with grant tables, that account is made as scripts/test
// makes it (orv_db_account in scripts/lib/common.sh), and root logs in through
// the socket.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class OwnMariaDb
{
public:
    struct Options
    {
        bool grantTables = false;
        int maxConnections = 1000;
    };

    OwnMariaDb();
    explicit OwnMariaDb(const Options &options);
    // Stops the server if it runs.
    ~OwnMariaDb();

    OwnMariaDb(const OwnMariaDb &) = delete;
    OwnMariaDb &operator=(const OwnMariaDb &) = delete;

    // Creates the data folder on the first call, then starts the server and
    // waits until it answers. False with the reason in `error`.
    bool start(QString *error);
    // Ends the server by the pid it was started with (SIGTERM) and waits
    // for it to go.
    bool stop();
    bool isRunning() const;

    quint16 port() const { return m_port; }
    QString socketPath() const { return m_dir.filePath("mysqld.sock"); }

    // With grant tables: gives account `user` what `kind` ("program" or
    // "tests") holds, as scripts/lib/common.sh does (orv_db_account), the
    // program's on databases `mainDb` and `auxDb`. False with the reason in
    // `error`.
    bool grantAccount(const QString &kind, const QString &user, const QString &password, QString *error,
                      const QString &mainDb = QString(), const QString &auxDb = QString()) const;
    // Runs `sql` as root through the socket, as an administrator would log
    // in; false (its output in `error`) when refused.
    bool runAsRoot(const QString &sql, QString *error) const;
    // Points ORV_DB_HOST and ORV_DB_PORT of this process at the server, so
    // TestDb and WorkFolder use it.
    void exportToEnvironment() const;

private:
    Options m_options;
    QTemporaryDir m_dir;
    QProcess m_server;
    quint16 m_port = 0;
    bool m_installed = false;
};

#endif // TESTS_SUPPORT_OWNMARIADB_H
