#ifndef TESTS_SUPPORT_OUTAGEFIXTURE_H
#define TESTS_SUPPORT_OUTAGEFIXTURE_H

// The real server process (orv-headless-server) in a working folder of its
// own, against a MariaDB of its own that a case stops and starts under it,
// and the terminal's steps against it: what the suites share that take the
// database, the network to it or the server itself away while terminals
// send. A suite's test object derives from it and gets its initTestCase(),
// init(), cleanup() and cleanupTestCase(). The steps check with QTest's
// macros: a step that fails fails the case it runs in.
//
// The folder holds course "C1" and entries 1 to N of it, entry i with order
// number i, none started, each with the theory test passed; the server's
// database connections time out after IO_TIMEOUT_SECONDS unless a case
// starts it otherwise.

#include "tests/support/ownmariadb.h"
#include "tests/support/serverprocess.h"
#include "tests/support/testterminal.h"
#include "tests/support/workfolder.h"

#include <QByteArray>
#include <QObject>
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <memory>

class LoopbackProxy;
class MySqlConnection;

class OutageFixture : public QObject
{
    Q_OBJECT

public:
    static const char *const TIME_FORMAT;
    // A kept write is tried again every 5 s; a little more for the database's
    // own start.
    static const int STORED_WITHIN_MS = 15000;
    // The server's read and write time-out on its database connections here.
    static const int IO_TIMEOUT_SECONDS = 2;

protected:
    // The folder's databases are named after `suite` ("orv_<suite>"); its
    // settings are `options` but for the theory-test database, which the
    // program's account may write too (a server without grant tables has no
    // other account).
    OutageFixture(const QString &suite, int entries, const WorkFolder::Options &options = WorkFolder::Options());
    ~OutageFixture() override;

    // Starts the server with `environment` added to this process's; its
    // log goes to serverLog().
    // Its files may not grow past `fileSizeLimit` bytes (RLIMIT_FSIZE) when
    // it is given.
    bool startServer(const QProcessEnvironment &environment = QProcessEnvironment(), qint64 fileSizeLimit = -1);
    void endServer();
    // What the servers logged since the case began.
    QByteArray serverLog() const;
    // The server's connections go through `proxy` (null: straight to the
    // database).
    void routeThrough(const LoopbackProxy *proxy);
    // Connects and answers the handshake.
    void connectTerminal(TestTerminal &terminal);
    // Connects, answers the handshake, has order number `order` admitted
    // in course `course` and, when `start`, starts its test while the
    // database is there.
    void admit(TestTerminal &terminal, int order, bool start, const QByteArray &course = "C1");
    void sendStart(TestTerminal &terminal, int id);
    void sendResult(TestTerminal &terminal, int id, int score, const QByteArray &course = "C1",
                    const QByteArray &answers = "1A;2B;3C");
    // The operator's reset of entry `id`, as the window makes it.
    void reset(int id);
    // Every earlier message of the terminal has been handled once the
    // course list is answered.
    void sync(TestTerminal &terminal);
    void stopDatabase();
    void startDatabase();
    // The folder's administrative connection, opened again when a stop of
    // the database ended its session.
    QSqlDatabase admin();
    // A field of entry `id`, read afresh.
    QVariant entryField(int id, const QString &column);
    // Waits until entry `id` is in `state`.
    bool waitForState(int id, int state);
    void verifyChecksum(int id);
    QByteArray journal() const;
    // Waits until every record of the journal is marked done.
    bool waitForJournalDone();

    // The row of entry `id` locked by a session of its own (a transaction
    // that read it FOR UPDATE), as another program's would, until
    // releaseRow().
    void holdRow(int id);
    void releaseRow();
    // Whether a statement waits for a row lock now, within `waitMs`.
    bool waitForLockWait(int waitMs);
    // How long a statement waits for a row lock, in the sessions opened
    // from now on; cleanup() puts back what the server had.
    void setLockWaitSeconds(int seconds);

    OwnMariaDb m_database;
    qint64 m_logMark = 0;
    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<ServerProcess> m_server;

private slots:
    // The database, the folder and its rows.
    void initTestCase();
    void cleanupTestCase();
    // The database up and the server running, the log read from here on.
    void init();
    // The database up again, no row held and the lock wait as the server
    // had it, whatever the case left; after a case that failed the server
    // is ended, so that the next one starts it with the suite's settings
    // and straight to the database.
    void cleanup();

private:
    void tearDown();
    // The program's own connection class on the folder's main database, as
    // the operator's window opens it.
    void openMain(MySqlConnection &connection, const QString &name);
    void applyLockWaitSeconds(int seconds);

    const QString m_suite;
    const int m_entries;
    WorkFolder::Options m_options;

    QSqlDatabase m_rowHolder;
    // What the server had before a case set it.
    QVariant m_lockWaitSeconds;
};

#endif // TESTS_SUPPORT_OUTAGEFIXTURE_H
