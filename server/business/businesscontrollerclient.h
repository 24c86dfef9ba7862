#ifndef SERVER_BUSINESS_BUSINESSCONTROLLERCLIENT_H
#define SERVER_BUSINESS_BUSINESSCONTROLLERCLIENT_H

#include "connection/mysqlconnectionclient.h"
#include "connection/sqlquery.h"
#include "records/reportinfo.h"
#include "server/business/terminaljournal.h"
#include "server/business/terminaljournalreplay.h"
#include "server/network/clientconnectionlistener.h"
#include "server/protocol/serverinputinterface.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class BaseMessage;
class IOController;
class MySqlConnection;
class TerminalSettings;

// The business logic of the exam terminals: admission by course code and
// order number, the start of the exam, the result with its checksum, the
// list of running courses and the review of a finished candidate's answers.
// Each terminal has a database connection of its own, opened by its first
// message that reads or writes the database (not when it is accepted: a
// peer that stays silent holds no session) and closed when it is gone.
// Terminal events arrive on the handler-queue thread; connections are
// registered on the listener thread and result sheets are read on the GUI
// thread, so the connection map is guarded.
//
// A start or a result is kept in the journal when its bytes arrive, on the
// terminal's receive thread, with its arrival time as its stored time; its
// handler, in its turn, stores that record. Whatever holds the queue, and
// also if the handler never runs (its connection closed, the server
// stopped or was killed), the record is stored by the replay.
//
// Once a statement of the terminals finds the database unreachable (an
// admission's reads, the theory result, the course list, a review, a start
// or result, a connection's opening), the terminals try none until a
// statement succeeds again: admissions answer 1, the course list comes
// empty, reviews without answers, and the writes wait in the journal.
//
// Its collaborators are given when it is wired (by the business controller):
// the run-mode settings it reads at each use, the operator's main connection
// it falls back to for result sheets, and the controller it replies through.
// Until then it reads the settings as off and sends nothing.
class BusinessControllerClient : public QObject,
                                 public ServerInputInterface,
                                 public ClientConnectionListener
{
    Q_OBJECT

public:
    // A photo file larger than this is not read: its Base64 text would pass
    // the database server's packet limit (max_allowed_packet) and end the
    // terminal's connection.
    static const qint64 MAX_PHOTO_BYTES = 4 * 1024 * 1024;
    // The client id of writes stored from the journal: no terminal has it,
    // so their result sheets are read through the main connection.
    static constexpr quint64 NO_TERMINAL = ~quint64(0);
    // The replay tries the writes kept in the journal again this often.
    static constexpr int REPLAY_MS = TerminalJournalReplay::INTERVAL_MS;
    // The starts of an entry a connection's results may still belong to
    // are at most this many: the latest.
    static constexpr int MAX_SITTINGS = 16;
    // The answers column (TEXT) holds this many bytes of UTF-8.
    static constexpr int MAX_ANSWERS_BYTES = 65535;

    // Created on first use even when two threads ask at once; registers with
    // the input hub when created.
    static BusinessControllerClient *getInstance();

    // Not owned; each must outlive the handling of terminal events.
    void setSettings(TerminalSettings *settings);
    void setMainConnection(MySqlConnection *mainConnection);
    void setIOController(IOController *controller);

    // Keeps the terminals' starts and results in the journal at `path`
    // (what it still holds is stored once the replay starts). Without it
    // the writes are kept in memory until they are stored.
    bool openJournal(const QString &path);
    // Starts the replay: it stores what the journal holds, now and every
    // REPLAY_MS, and at once when a statement succeeds again after an
    // outage; on a database connection of its own. Does not wait for any of
    // it.
    void startReplay();
    // Joins the replay; what is still kept stays in the journal.
    void stopReplay();
    // The journal's records still to be stored.
    int pendingWrites() const;

    void insertNewDbConnection(quint64 clientId);
    // Closes and forgets the terminal's connection; nothing for an unknown id.
    void removeDbConnection(quint64 clientId);
    // Valid while the terminal stays registered.
    MySqlConnectionClient *findConnection(quint64 clientId);

    // The data of a result sheet with its checksum verified; the caller owns
    // it. Null when the entry is not found. A terminal whose connection is
    // gone is served through the main connection it was given.
    ReportInfo *getReportInfo(qulonglong idClient, int id, const QString &contestCode);

    void orderNumberUpdated(quint64 clientId, const QString &courseCode,
                            const QString &orderNumber) override;
    void contestResultUpdated(quint64 clientId, int score, int passMark, bool passed, int entryId,
                              const QString &courseCode, const QString &answers) override;
    void infoConfirmUpdated(quint64 clientId, int entryId, bool flag, bool review) override;
    void handleAuthenStateTwo(quint64 clientId, const char *response16) override;
    void handleContestNameRequest(quint64 clientId) override;

    // The listener's view of connections (listener and handler-queue threads).
    void onClientAccepted(quint64 clientId) override;
    // A message that reads or writes the database opens the terminal's
    // connection when it has none, here, on the terminal's receive thread.
    void onMessageArriving(quint64 clientId, const BaseMessage &message) override;
    void onClientRemoved(quint64 clientId) override;
    // Drops every terminal's database connection; each closes as soon as no
    // sheet is being read through it. For the way out: the listener's
    // destructor closes the terminals without telling onClientRemoved.
    void closeTerminalConnections();

signals:
    // A result was stored (automatic printing on).
    void notifyUpdateReport(qulonglong idClient, int id, QString contestCode);
    // The database now holds the start of the exam of entry `id`; the
    // operator's table follows what was stored, never what was only asked.
    void notifyContestStartStored(int id, QString startTime);
    // The database now holds this result for entry `id`.
    void notifyContestResultStored(int id, int score, int passMark, bool passed, QString endTime);
    // A terminal's write could not reach the database and is kept for later.
    void notifyWriteKept();
    // The terminals found the database away: once an outage, from the
    // thread whose statement found it.
    void notifyDatabaseAway();
    // The journal's file could not be written: the terminals' writes are
    // kept in memory only until they are stored.
    void notifyJournalUnwritable();

private:
    using Connection = std::shared_ptr<MySqlConnectionClient>;
    using Outcome = TerminalJournalReplay::Outcome;
    // What the terminals told of an entry at its admission: the course code
    // as typed and as stored, the order number.
    struct EntryNote
    {
        QString courseCode;
        QString storedCourseCode;
        QString orderNumber;
    };
    // A start or a result kept when it arrived, waiting for its handler.
    struct Arrival
    {
        qint64 number = 0;
        TerminalJournal::Record::Kind kind = TerminalJournal::Record::Start;
        int entryId = 0;
    };

    BusinessControllerClient();
    ~BusinessControllerClient() override;

    // The terminal's connection, opened (by onMessageArriving) when its
    // first message that needs one arrived; an opening that fails is tried
    // once more at the next such message, then no more. Null when there is
    // none. Held by the caller, the connection stays usable even when its
    // terminal is removed meanwhile.
    Connection connectionFor(quint64 clientId);
    Connection storedConnection(quint64 clientId) const;
    // Opens a connection for the terminal; null (logged) on a database
    // error, with `unreachable` telling whether the server could not be
    // reached at all.
    static Connection openConnection(const QString &name, bool *unreachable = nullptr);
    // The terminal's start or result as it arrived, its arrival time its
    // time.
    TerminalJournal::Record startRecord(quint64 clientId, int entryId);
    TerminalJournal::Record resultRecord(quint64 clientId, int score, int passMark, bool passed, int entryId,
                                         const QString &courseCode, const QString &answers) const;
    // Keeps the record in the journal (for its handler when `forHandler`,
    // else claimed for the caller when `claimNow` and nothing earlier of its
    // entry waits) and says so where the journal cannot hold it.
    TerminalJournal::Appended keep(TerminalJournal::Record &record, bool forHandler, bool claimNow);
    // The handler's turn for what the connection's message kept when it
    // arrived: its journal number, or 0 when none was kept (the message did
    // not come through the receive side).
    qint64 takeArrival(quint64 clientId, TerminalJournal::Record::Kind kind, int entryId);
    // The handler's turn for a start or a result: stores the record kept
    // when it arrived, or, for one that did not come through the receive
    // side, the record `made` gives, kept now.
    void storeArrival(const Connection &db, quint64 clientId, TerminalJournal::Record::Kind kind, int entryId,
                      const std::function<TerminalJournal::Record()> &made);
    // Stores the kept record on the terminal's connection unless an earlier
    // write of its entry is still waiting or the database is known to be
    // away: then the replay stores it.
    void storeKept(const Connection &db, quint64 clientId, const TerminalJournal::Record &record,
                   bool claimed);
    // Whether the entry holds this very result already: stored by an
    // earlier try of it whose reply did not come back in time.
    static bool holdsResult(MySqlConnectionClient *db, const TerminalJournal::Record &record,
                            const QString &answers, SqlQuery::Failure *failure);
    // Tells the operator's window (and the printing) of a result stored.
    Outcome resultStored(quint64 clientId, const TerminalJournal::Record &record, const QString &courseCode);
    // Stores the write, guarded by the entry's state (and a result by its
    // sitting).
    Outcome store(MySqlConnectionClient *db, quint64 clientId, const TerminalJournal::Record &record);
    Outcome storeStart(MySqlConnectionClient *db, const TerminalJournal::Record &record);
    Outcome storeResult(MySqlConnectionClient *db, quint64 clientId, const TerminalJournal::Record &record);
    // Whether the result belongs to the sitting the entry is in: logs why
    // when it does not.
    static bool inItsSitting(const TerminalJournal::Record &record,
                             const MySqlConnectionClient::ResultBasis &basis);
    // The connection's starts of the entry once the database took or
    // refused one of them.
    void startTaken(const TerminalJournal::Record &record);
    void startRefused(const TerminalJournal::Record &record);
    // What a statement that failed with `failure` means for the record.
    static Outcome failed(SqlQuery::Failure failure, const TerminalJournal::Record &record);
    // The answers as the database can hold them: without NUL, cut on a
    // character to MAX_ANSWERS_BYTES; a warning names the entry when they
    // change.
    static QString storableAnswers(int entryId, const QString &answers);
    static void warnKept(const TerminalJournal::Record &record);
    void warnKeptInMemory(const TerminalJournal::Record &record) const;
    EntryNote noteOf(int entryId) const;
    // The terminals try statements only while the database is not known to
    // be away.
    bool databaseAway() const;
    void databaseLost();
    // The portrait of the course's photo folder stored as the entry's photo.
    static void importAvatar(MySqlConnectionClient *db, const QString &courseCode,
                             const QString &orderNumber);
    // Base64 of the stored portrait as a small JPEG; empty when there is none.
    static QByteArray portraitForTerminal(MySqlConnectionClient *db, const QString &courseCode,
                                          const QString &orderNumber);
    void send(quint64 clientId, const BaseMessage &message) const;
    // The settings' values, off while none are wired.
    int autoPrint() const;
    bool checkPassingTheoryExam() const;
    bool importAvatarFolderOn() const;
    bool isNotTestTheoryResult(const QString &contentNumber) const;

    std::atomic<TerminalSettings *> m_settings{nullptr};
    std::atomic<MySqlConnection *> m_mainConnection{nullptr};
    std::atomic<IOController *> m_io{nullptr};

    mutable std::mutex m_connectionsLock;
    QMap<quint64, Connection> m_connections;
    // Terminals accepted that have no connection yet, with the openings
    // they have left (OPENINGS at the accept); gone once they have one or
    // are removed.
    static constexpr int OPENINGS = 2;
    QHash<quint64, int> m_openingsLeft;

    mutable std::mutex m_notesLock;
    QHash<int, EntryNote> m_notes;
    // By connection and entry: the start times of the sittings the
    // connection's results of the entry may belong to (see
    // TerminalJournal::Record::sittings). An entry is there once the
    // connection sent a start of it.
    QHash<quint64, QHash<int, QStringList>> m_starts;
    // By connection, in arrival order: its starts and results kept whose
    // handlers have not run yet.
    QHash<quint64, QList<Arrival>> m_arrivals;

    TerminalJournal m_journal;
    TerminalJournalReplay m_replay;
};

#endif // SERVER_BUSINESS_BUSINESSCONTROLLERCLIENT_H
