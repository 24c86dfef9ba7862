#ifndef TESTS_SUPPORT_WORKFOLDER_H
#define TESTS_SUPPORT_WORKFOLDER_H

// A working folder for suites that build the process-wide singletons (the
// listener, the business controllers): they read ./config and write beside
// it, so each such suite gets a temporary folder of its own, made current for
// its lifetime, with a fresh main database and a fresh theory-test database
// that the config files point at.

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

class WorkFolder
{
public:
    struct Options
    {
        int autoPrint = 0;
        int timeUpdateTheoryResult = 120;
        bool checkPassingTheory = false;
        int importAvatarFolderOn = 0;
        // False: connection_mysql.csv names a loopback port nobody listens
        // on, so the main database cannot be opened (no database is made).
        bool mainReachable = true;
        // The server reaches the theory-test database through an account
        // that may only read it, as in production.
        bool auxReadOnly = true;
    };

    // `suite` names the databases ("orv_<suite>", "aux_<suite>"): keep it
    // short, lower case, unique per executable.
    explicit WorkFolder(const QString &suite);
    WorkFolder(const QString &suite, const Options &options);
    ~WorkFolder();

    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

    // False when something could not be prepared; error() says what.
    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    // The absolute path of the folder, and of a file below it.
    QString path() const;
    QString filePath(const QString &relative) const;

    QString mainDbName() const { return m_mainDb; }
    QString auxDbName() const { return m_auxDb; }
    // The listening port written to connection_tcp.csv: free on loopback
    // when the folder was made.
    quint16 port() const { return m_port; }

    // Administrative connections (all rights) for seeding rows and checking
    // what was written; opened on first use, closed by the destructor.
    QSqlDatabase mainAdmin();
    QSqlDatabase auxAdmin();

    // Replaces (or creates) a file below the folder.
    bool writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;

    // A loopback TCP port nobody listens on at the time of the call.
    static quint16 freePort();

private:
    void prepare(const Options &options);
    static QByteArray mysqlConfig(const QString &dbName, int port, const QString &user,
                                  const QString &password);

    QTemporaryDir m_dir;
    QString m_previousDir;
    QString m_suite;
    QString m_mainDb;
    QString m_auxDb;
    QString m_mainConnection;
    QString m_auxConnection;
    quint16 m_port = 0;
    QString m_error;
};

#endif // TESTS_SUPPORT_WORKFOLDER_H
