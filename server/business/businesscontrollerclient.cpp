#include "server/business/businesscontrollerclient.h"

#include "common/constants.h"
#include "connection/mysqlconnection.h"
#include "connection/databasestatus.h"
#include "connection/mysqlconnectionclient.h"
#include "connection/sqlfailurewatch.h"
#include "records/contestantresultinfo.h"
#include "records/fileutility.h"
#include "records/jp2image.h"
#include "records/mysqlconnectioninfo.h"
#include "records/utility.h"
#include "server/business/resultchecksum.h"
#include "server/business/terminalsettings.h"
#include "server/network/iocontroller.h"
#include "server/protocol/contestnamemessage.h"
#include "server/protocol/contestresultmessage.h"
#include "server/protocol/enterresponsemessage.h"
#include "server/protocol/infoconfirmmessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"
#include "server/protocol/reviewmessage.h"

#include <QBuffer>
#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTime>

#include <chrono>

namespace {

std::mutex s_instanceLock;
BusinessControllerClient *s_instance = nullptr;

// The size of the portrait a terminal shows.
const int PORTRAIT_WIDTH = 114;
const int PORTRAIT_HEIGHT = 152;

// A code that goes into a file path must name one file inside the photo
// folder, never a way out of it.
bool isSafePathPart(const QString &part)
{
    return !part.isEmpty() && !part.contains('/') && !part.contains('\\') && !part.contains("..");
}

QImage loadPhoto(const QByteArray &bytes)
{
    QImage image;
    image.loadFromData(readablePhoto(bytes));
    return image;
}

} // namespace

BusinessControllerClient *BusinessControllerClient::getInstance()
{
    const std::lock_guard<std::mutex> locker(s_instanceLock);
    if (s_instance == nullptr) {
        s_instance = new BusinessControllerClient;
        InputDispatcher::getInstance()->registerInput(s_instance);
    }
    return s_instance;
}

BusinessControllerClient::BusinessControllerClient()
    : QObject(nullptr),
      m_replay(
          m_journal, []() { return openConnection(QStringLiteral("terminal-journal")); },
          [this](MySqlConnectionClient *db, const TerminalJournal::Record &record) {
              const Outcome outcome = store(db, NO_TERMINAL, record);
              if (outcome == Outcome::Unreachable)
                  emit notifyWriteKept();
              return outcome;
          })
{
    // Direct: the replay is woken from whichever thread's statement found
    // the database back.
    connect(DatabaseStatus::instance(), &DatabaseStatus::reachable, this,
            [this]() { m_replay.databaseFound(); m_replay.wake(); }, Qt::DirectConnection);
}

// The instance lives as long as the process; its connections close with it.
BusinessControllerClient::~BusinessControllerClient() = default;

void BusinessControllerClient::setSettings(TerminalSettings *settings)
{
    m_settings = settings;
}

void BusinessControllerClient::setMainConnection(MySqlConnection *mainConnection)
{
    m_mainConnection = mainConnection;
}

void BusinessControllerClient::setIOController(IOController *controller)
{
    m_io = controller;
}

int BusinessControllerClient::autoPrint() const
{
    const TerminalSettings *settings = m_settings;
    return settings ? settings->getAutoPrint() : 0;
}

bool BusinessControllerClient::checkPassingTheoryExam() const
{
    const TerminalSettings *settings = m_settings;
    return settings && settings->getCheckPassingTheoryExam();
}

bool BusinessControllerClient::importAvatarFolderOn() const
{
    const TerminalSettings *settings = m_settings;
    return settings && settings->getImportAvatarFolderOn();
}

bool BusinessControllerClient::isNotTestTheoryResult(const QString &contentNumber) const
{
    const TerminalSettings *settings = m_settings;
    return settings && settings->isNotTestTheoryResult(contentNumber);
}

BusinessControllerClient::Connection BusinessControllerClient::openConnection(const QString &name,
                                                                          bool *unreachable)
{
    // Read at each terminal, as the operator may point the server elsewhere.
    const MySqlConnectionInfo info = FileUtility().readMysqlConnectionConfig(MYSQL_CONFIG_PATH);
    // Closed as well as deleted when the last holder lets go, so that the
    // database server's session goes with the terminal.
    Connection connection(new MySqlConnectionClient, [](MySqlConnectionClient *db) {
        db->closeConnection();
        delete db;
    });
    const QSqlError error =
        connection->initDatabase(name, info.getHost(), info.getPort(),
                                 info.getDbName(), info.getUserName(), info.getPassword());
    if (unreachable)
        *unreachable = error.isValid() && SqlQuery::isUnreachableError(error);
    if (error.isValid()) {
        qDebug() << "BusinessControllerClient::insertNewDbConnection: insert new db connection error: "
                 << error.text();
        return Connection();
    }
    return connection;
}

void BusinessControllerClient::insertNewDbConnection(quint64 clientId)
{
    {
        const std::lock_guard<std::mutex> locker(m_connectionsLock);
        if (m_connections.contains(clientId)) {
            qDebug() << "BusinessControllerClient::insertNewDbConnection: id client exists in list db "
                        "connection";
            return;
        }
    }
    // Opened without the lock: a database that is slow to answer must not
    // hold up the printing of another terminal's sheet.
    Connection connection = openConnection(QString::number(clientId));
    if (!connection)
        return;
    const std::lock_guard<std::mutex> locker(m_connectionsLock);
    m_openingsLeft.remove(clientId);
    if (m_connections.contains(clientId)) {
        qDebug() << "BusinessControllerClient::insertNewDbConnection: id client exists in list db "
                    "connection";
        return;
    }
    m_connections.insert(clientId, connection);
}

void BusinessControllerClient::removeDbConnection(quint64 clientId)
{
    Connection connection;
    {
        const std::lock_guard<std::mutex> locker(m_connectionsLock);
        m_openingsLeft.remove(clientId);
        connection = m_connections.take(clientId);
    }
    // Closed here, outside the map's lock, unless a sheet is being read
    // through it right now: then by that reader when it is done.
}

void BusinessControllerClient::closeTerminalConnections()
{
    QMap<quint64, Connection> connections;
    {
        const std::lock_guard<std::mutex> locker(m_connectionsLock);
        m_openingsLeft.clear();
        connections.swap(m_connections);
    }
    // Closed here, outside the map's lock, as removeDbConnection does.
}

MySqlConnectionClient *BusinessControllerClient::findConnection(quint64 clientId)
{
    return storedConnection(clientId).get();
}

BusinessControllerClient::Connection BusinessControllerClient::storedConnection(quint64 clientId) const
{
    const std::lock_guard<std::mutex> locker(m_connectionsLock);
    return m_connections.value(clientId);
}

BusinessControllerClient::Connection BusinessControllerClient::connectionFor(quint64 clientId)
{
    // Opened before the message was queued, off the handler queue.
    return storedConnection(clientId);
}

void BusinessControllerClient::onClientAccepted(quint64 clientId)
{
    // No session yet: a connection that never asks for anything (a port
    // scan, a peer that stays silent) costs the database server nothing.
    const std::lock_guard<std::mutex> locker(m_connectionsLock);
    m_openingsLeft.insert(clientId, OPENINGS);
}

void BusinessControllerClient::onMessageArriving(quint64 clientId, const BaseMessage &message)
{
    switch (message.getType()) {
    case MSG_INFO_CONFIRM:
    case MSG_INFO_CONFIRM_ENCRYPTED:
        if (const auto *start = dynamic_cast<const InfoConfirmMessage *>(&message)) {
            if (!start->getReview()) {
                TerminalJournal::Record record = startRecord(clientId, start->getEntryId());
                keep(record, true, false);
            }
        }
        break;
    case MSG_CONTEST_RESULT:
    case MSG_CONTEST_RESULT_ENCRYPTED:
        if (const auto *result = dynamic_cast<const ContestResultMessage *>(&message)) {
            // Read as the handler reads them.
            const QByteArray answers = result->getAnswers();
            TerminalJournal::Record record = resultRecord(
                clientId, result->getScore(), result->getPassMark(), result->getPassed(), result->getEntryId(),
                QString::fromLocal8Bit(result->getCourseCode()),
                QString::fromLocal8Bit(answers.constData(), answers.size()));
            keep(record, true, false);
        }
        break;
    case MSG_CONTEST_ENTER:
    case MSG_CONTEST_ENTER_ENCRYPTED:
    case MSG_CONTEST_NAME:
        break;
    default:
        // The handshake and the videos' messages read nothing.
        return;
    }
    // While the database is away an opening would only wait for its
    // time-out.
    if (databaseAway())
        return;
    {
        const std::lock_guard<std::mutex> locker(m_connectionsLock);
        if (m_connections.contains(clientId))
            return;
        const auto left = m_openingsLeft.find(clientId);
        if (left == m_openingsLeft.end() || left.value() == 0)
            return;
        --left.value();
    }
    // Opened without the lock: a database that is slow to answer must not
    // hold up the printing of another terminal's sheet.
    bool unreachable = false;
    Connection connection = openConnection(QString::number(clientId), &unreachable);
    if (unreachable)
        databaseLost();
    const std::lock_guard<std::mutex> locker(m_connectionsLock);
    // An opening the outage failed is not the terminal's to lose: it opens
    // with its next message once the database is back.
    if (unreachable && m_openingsLeft.contains(clientId))
        ++m_openingsLeft[clientId];
    // Removed meanwhile: nobody would close what was opened for it.
    if (!connection || !m_openingsLeft.contains(clientId) || m_connections.contains(clientId))
        return;
    m_openingsLeft.remove(clientId);
    m_connections.insert(clientId, connection);
}

void BusinessControllerClient::onClientRemoved(quint64 clientId)
{
    removeDbConnection(clientId);
    // Told after the last of its messages was handled or dropped: no result
    // of it is to come. Its writes still kept belong to their sittings by
    // the times they carry; those whose handlers were dropped are the
    // replay's.
    QList<Arrival> unhandled;
    {
        const std::lock_guard<std::mutex> locker(m_notesLock);
        m_starts.remove(clientId);
        unhandled = m_arrivals.take(clientId);
    }
    for (const Arrival &arrival : qAsConst(unhandled))
        m_journal.dropHandler(arrival.number);
    if (!unhandled.isEmpty())
        m_replay.wake();
}

void BusinessControllerClient::send(quint64 clientId, const BaseMessage &message) const
{
    IOController *io = m_io;
    if (io == nullptr || !io->sendToClient(clientId, &message))
        qDebug() << "BusinessControllerClient: no reply sent to client" << clientId;
}

void BusinessControllerClient::importAvatar(MySqlConnectionClient *db, const QString &courseCode,
                                            const QString &orderNumber)
{
    const QString folder = db->getCourseGhiChu(courseCode);
    QString maDangKy;
    QString maKySH;
    db->getRegistrationCodes(courseCode, orderNumber, maDangKy, maKySH);
    // A code that would lead out of the photo folder, or no folder at all,
    // names no file this server may open.
    QFile file;
    if (!folder.isEmpty() && isSafePathPart(maDangKy) && isSafePathPart(maKySH))
        file.setFileName(folder + "/" + maKySH + "/" + maDangKy + ".jp2");
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)) {
        qDebug() << "BusinessControllerClient::orderNumberUpdated: Can't open image file in avatar folder";
        return;
    }
    if (file.size() > MAX_PHOTO_BYTES) {
        qDebug().nospace() << "BusinessControllerClient::orderNumberUpdated: Can't open image file in "
                              "avatar folder: "
                           << file.fileName() << " is too large (" << file.size()
                           << " bytes, at most " << MAX_PHOTO_BYTES << ")";
        return;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty() || loadPhoto(bytes).isNull())
        return;
    // The file itself is kept, not its conversion: the result sheet prints it.
    db->updateAvatar(courseCode, orderNumber, QString::fromLatin1(bytes.toBase64()));
}

QByteArray BusinessControllerClient::portraitForTerminal(MySqlConnectionClient *db,
                                                         const QString &courseCode,
                                                         const QString &orderNumber)
{
    const QString stored = db->getAvatarInfoForContestant(orderNumber, courseCode);
    if (stored.isEmpty())
        return QByteArray();
    const QImage image = loadPhoto(QByteArray::fromBase64(stored.toLatin1()));
    if (image.isNull())
        return QByteArray();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!image.scaled(PORTRAIT_WIDTH, PORTRAIT_HEIGHT, Qt::KeepAspectRatio, Qt::FastTransformation)
             .save(&buffer, "JPG"))
        return QByteArray();
    return jpeg.toBase64();
}

void BusinessControllerClient::orderNumberUpdated(quint64 clientId, const QString &courseCode,
                                                  const QString &orderNumber)
{
    // The marker is quoted as every marker of the log is; its detail reads as
    // it is written.
    (qInfo() << LOG_ENTER_FUNCTION).noquote() << "Student enter with ordernumber: "
                                              << Utility::getInstance()->logText(orderNumber);
    EnterResponseMessage reply(true);
    OrderNumberCheck check;
    check.setStatus(1);

    const Connection db = databaseAway() ? Connection() : connectionFor(clientId);
    // Every read of the admission counts: an answer read from a database
    // that went away half-way is no answer.
    const SqlFailureWatch watch;
    QByteArray portrait;
    if (db) {
        check = db->checkOrderNumber(courseCode, orderNumber);
        if (check.getStatus() == 0 && !watch.unreachable() && checkPassingTheoryExam()) {
            const QString theory = db->getKetQuaSHLyThuyet(courseCode, orderNumber);
            if (!watch.unreachable() && theory.compare(RESULT_PASS, Qt::CaseInsensitive) != 0
                && !isNotTestTheoryResult(check.getNoiDungSH()))
                check.setStatus(5);
        }
        if (!watch.unreachable() && (check.getStatus() == 0 || check.getStatus() == 2)) {
            if (importAvatarFolderOn())
                importAvatar(db.get(), courseCode, orderNumber);
            portrait = portraitForTerminal(db.get(), courseCode, orderNumber);
        }
    }
    if (!db || watch.unreachable()) {
        // "No database connection", whatever the lookup read before it
        // failed: not "course not running".
        if (db)
            databaseLost();
        check = OrderNumberCheck();
        check.setStatus(1);
        qWarning().noquote() << "BusinessControllerClient::orderNumberUpdated: the database could not be reached"
                                " for course" << Utility::getInstance()->logText(courseCode) << "order number"
                             << Utility::getInstance()->logText(orderNumber);
    }
    (qInfo() << LOG_ENTER_FUNCTION).noquote() << "Student enter with Id: " << check.getID();

    reply.setStatus(check.getStatus());
    if (check.getStatus() == 0 || check.getStatus() == 2) {
        {
            const std::lock_guard<std::mutex> locker(m_notesLock);
            EntryNote &note = m_notes[check.getID()];
            note.courseCode = courseCode;
            note.storedCourseCode = check.getIDKhoaHoc();
            note.orderNumber = orderNumber;
        }
        reply.setLicenceClass(check.getLicenceClass());
        reply.setEntryId(check.getID());
        reply.setIdentityNumber(check.getSoCMT().toLocal8Bit());
        reply.setFullName(check.getHoTen().toUtf8());
        reply.setPortrait(portrait);
    }
    send(clientId, reply);
    qInfo() << LOG_FINISH_FUNCTION;
}

void BusinessControllerClient::infoConfirmUpdated(quint64 clientId, int entryId, bool flag, bool review)
{
    Q_UNUSED(flag)
    const Connection db = databaseAway() ? Connection() : connectionFor(clientId);
    if (review) {
        qInfo() << LOG_ENTER_FUNCTION;
        // No answers is the answer of a lookup that failed.
        SqlQuery::Failure failure = SqlQuery::Failure::Unreachable;
        ReviewMessage message;
        if (db)
            message.setAnswers(db->getTraLoiMoPhong(entryId, &failure).toLocal8Bit());
        if (failure == SqlQuery::Failure::Unreachable) {
            if (db)
                databaseLost();
            qWarning() << "BusinessControllerClient::infoConfirmUpdated: the database could not be reached"
                          " for the review of entry" << entryId;
        }
        send(clientId, message);
        qInfo() << LOG_FINISH_FUNCTION;
        return;
    }
    // Kept even when the terminal has no connection: the database may be
    // away, and the start must reach it when it returns.
    qInfo() << LOG_ENTER_FUNCTION;
    storeArrival(db, clientId, TerminalJournal::Record::Start, entryId,
                 [&]() { return startRecord(clientId, entryId); });
    qInfo() << LOG_FINISH_FUNCTION;
}

void BusinessControllerClient::contestResultUpdated(quint64 clientId, int score, int passMark,
                                                    bool passed, int entryId,
                                                    const QString &courseCode, const QString &answers)
{
    (qInfo() << LOG_ENTER_FUNCTION).noquote() << "Update score for student: " << QString::number(entryId);
    const Connection db = databaseAway() ? Connection() : connectionFor(clientId);
    storeArrival(db, clientId, TerminalJournal::Record::Result, entryId, [&]() {
        return resultRecord(clientId, score, passMark, passed, entryId, courseCode, answers);
    });
    qInfo() << LOG_FINISH_FUNCTION;
}

void BusinessControllerClient::storeArrival(const Connection &db, quint64 clientId,
                                            TerminalJournal::Record::Kind kind, int entryId,
                                            const std::function<TerminalJournal::Record()> &made)
{
    const qint64 number = takeArrival(clientId, kind, entryId);
    if (number != 0) {
        const TerminalJournal::Record record = m_journal.record(number);
        if (record.number != 0)
            storeKept(db, clientId, record, db && m_journal.claimForHandler(number));
        return;
    }
    TerminalJournal::Record record = made();
    storeKept(db, clientId, record, keep(record, false, db != nullptr).claimed);
}

TerminalJournal::Record BusinessControllerClient::startRecord(quint64 clientId, int entryId)
{
    TerminalJournal::Record record;
    record.kind = TerminalJournal::Record::Start;
    record.entryId = entryId;
    record.time = Utility::getInstance()->currentDateTimeText();
    record.connection = clientId;
    // A sitting this connection's result of the entry may belong to, once
    // the database takes the start (also later, from the journal).
    const std::lock_guard<std::mutex> locker(m_notesLock);
    QStringList &starts = m_starts[clientId][entryId];
    starts << record.time;
    if (starts.size() > MAX_SITTINGS)
        starts.removeFirst();
    return record;
}

TerminalJournal::Record BusinessControllerClient::resultRecord(quint64 clientId, int score, int passMark,
                                                               bool passed, int entryId,
                                                               const QString &courseCode,
                                                               const QString &answers) const
{
    TerminalJournal::Record record;
    record.kind = TerminalJournal::Record::Result;
    record.entryId = entryId;
    // The course as stored from here on (journal, log, sheet) when the
    // terminal sends what it was admitted with; else as it was typed, and
    // the database finds it as the admission does when it is stored.
    const EntryNote note = noteOf(entryId);
    record.courseCode =
        !note.storedCourseCode.isEmpty() && note.courseCode == courseCode ? note.storedCourseCode : courseCode;
    // The time it arrived, also when it is stored later.
    record.time = Utility::getInstance()->currentDateTimeText();
    record.score = score;
    record.passMark = passMark;
    record.passed = passed;
    record.answers = storableAnswers(entryId, answers);
    record.connection = clientId;
    const std::lock_guard<std::mutex> locker(m_notesLock);
    const auto connection = m_starts.constFind(clientId);
    if (connection != m_starts.constEnd() && connection->contains(entryId)) {
        record.ownStarts = true;
        record.sittings = connection->value(entryId);
    }
    return record;
}

QString BusinessControllerClient::storableAnswers(int entryId, const QString &answers)
{
    // Invalid UTF-8 was read as U+FFFD already; a NUL is no answer.
    QString text = answers;
    const int nuls = text.count(QChar(0));
    if (nuls > 0) {
        text.remove(QChar(0));
        qWarning() << "BusinessControllerClient: the answers of entry" << entryId << "held" << nuls
                   << "NUL characters: they are stored without them";
    }
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= MAX_ANSWERS_BYTES)
        return text;
    // Cut before the character that would not fit whole.
    int end = MAX_ANSWERS_BYTES;
    while (end > 0 && (uchar(bytes.at(end)) & 0xC0) == 0x80)
        --end;
    bytes.truncate(end);
    qWarning() << "BusinessControllerClient: the answers of entry" << entryId << "are" << text.toUtf8().size()
               << "bytes long: the first" << end << "bytes are stored, what the database column holds";
    return QString::fromUtf8(bytes);
}

BusinessControllerClient::EntryNote BusinessControllerClient::noteOf(int entryId) const
{
    const std::lock_guard<std::mutex> locker(m_notesLock);
    return m_notes.value(entryId);
}

bool BusinessControllerClient::databaseAway() const
{
    return m_replay.databaseAway();
}

void BusinessControllerClient::databaseLost()
{
    if (m_replay.databaseLost())
        emit notifyDatabaseAway();
}

TerminalJournal::Appended BusinessControllerClient::keep(TerminalJournal::Record &record, bool forHandler,
                                                        bool claimNow)
{
    const TerminalJournal::Appended appended =
        forHandler ? m_journal.appendForHandler(record) : m_journal.append(record, claimNow);
    if (appended.becameUnwritable)
        emit notifyJournalUnwritable();
    if (!appended.onDisk)
        warnKeptInMemory(record);
    if (forHandler) {
        const std::lock_guard<std::mutex> locker(m_notesLock);
        m_arrivals[record.connection].append(Arrival{appended.number, record.kind, record.entryId});
    }
    return appended;
}

qint64 BusinessControllerClient::takeArrival(quint64 clientId, TerminalJournal::Record::Kind kind, int entryId)
{
    const std::lock_guard<std::mutex> locker(m_notesLock);
    const auto arrivals = m_arrivals.find(clientId);
    if (arrivals == m_arrivals.end() || arrivals->isEmpty())
        return 0;
    // A connection's handlers run in the order its messages arrived.
    const Arrival arrival = arrivals->takeFirst();
    if (arrivals->isEmpty())
        m_arrivals.erase(arrivals);
    if (arrival.kind == kind && arrival.entryId == entryId)
        return arrival.number;
    qWarning() << "BusinessControllerClient: the write kept for entry" << arrival.entryId
               << "does not match its handler's, for entry" << entryId << ": the replay stores it";
    m_journal.dropHandler(arrival.number);
    m_replay.wake();
    return 0;
}

void BusinessControllerClient::storeKept(const Connection &db, quint64 clientId,
                                         const TerminalJournal::Record &record, bool claimed)
{
    if (!claimed) {
        // The replay's, in its turn.
        m_journal.dropHandler(record.number);
        if (!db) {
            warnKept(record);
            // The database is known to be away: the replay stores it once
            // it is back. Else only this terminal has no connection: the
            // replay stores it now, and there is no outage to tell.
            if (databaseAway())
                emit notifyWriteKept();
            else
                m_replay.wake();
            return;
        }
        // An earlier write of the entry waits: the replay stores it in its
        // turn.
        m_replay.wake();
        return;
    }
    switch (store(db.get(), clientId, record)) {
    case Outcome::Stored:
    case Outcome::Refused:
        m_journal.finish(record.number);
        break;
    case Outcome::Kept:
        m_journal.release(record.number);
        break;
    case Outcome::Unreachable:
        databaseLost();
        m_journal.release(record.number);
        warnKept(record);
        emit notifyWriteKept();
        break;
    }
}

void BusinessControllerClient::warnKept(const TerminalJournal::Record &record)
{
    if (record.kind == TerminalJournal::Record::Start)
        qWarning() << "BusinessControllerClient: the database could not be reached: the start of entry"
                   << record.entryId << "is kept and will be stored when it returns";
    else
        qWarning().noquote() << "BusinessControllerClient: the database could not be reached: the result of entry"
                             << record.entryId << "in course" << Utility::getInstance()->logText(record.courseCode)
                             << "is kept and will be stored when it returns";
}

void BusinessControllerClient::warnKeptInMemory(const TerminalJournal::Record &record) const
{
    const EntryNote note = noteOf(record.entryId);
    const Utility *utility = Utility::getInstance();
    const QString orderNumber =
        note.orderNumber.isEmpty() ? QStringLiteral("unknown") : utility->logText(note.orderNumber);
    const QString known = note.storedCourseCode.isEmpty() ? note.courseCode : note.storedCourseCode;
    const QString course = known.isEmpty() ? QStringLiteral("unknown") : utility->logText(known);
    QDebug line = qCritical().nospace().noquote();
    line << "BusinessControllerClient: the journal cannot be written: ";
    if (record.kind == TerminalJournal::Record::Start)
        line << "the start of entry " << record.entryId << " (course " << course << ", order number "
             << orderNumber << ")";
    else
        line << "the result of entry " << record.entryId << " (course " << utility->logText(record.courseCode)
             << ", order number " << orderNumber << ", score " << record.score << ")";
    line << " is kept in memory only until it is stored";
}

BusinessControllerClient::Outcome BusinessControllerClient::failed(SqlQuery::Failure failure,
                                                                   const TerminalJournal::Record &record)
{
    const char *const what = record.kind == TerminalJournal::Record::Start ? "the start" : "the result";
    switch (failure) {
    case SqlQuery::Failure::None:
    case SqlQuery::Failure::Unreachable:
        break;
    case SqlQuery::Failure::Data:
        qWarning().nospace().noquote() << "BusinessControllerClient: the database refuses the values of " << what
                             << " of entry " << record.entryId << ": it is not stored, for good";
        return Outcome::Refused;
    case SqlQuery::Failure::Other:
        qWarning().nospace().noquote() << "BusinessControllerClient: " << what << " of entry " << record.entryId
                             << " could not be stored now: it is kept and tried again";
        return Outcome::Kept;
    }
    return Outcome::Unreachable;
}

BusinessControllerClient::Outcome BusinessControllerClient::store(MySqlConnectionClient *db, quint64 clientId,
                                                                  const TerminalJournal::Record &record)
{
    return record.kind == TerminalJournal::Record::Start ? storeStart(db, record)
                                                         : storeResult(db, clientId, record);
}

BusinessControllerClient::Outcome BusinessControllerClient::storeStart(MySqlConnectionClient *db,
                                                                       const TerminalJournal::Record &record)
{
    const int entryId = record.entryId;
    SqlQuery::Failure failure = SqlQuery::Failure::None;
    // The operator's table shows a start only when the database took it:
    // an entry already in the examination or finished keeps its state, and
    // so does one reset after the start arrived.
    if (db->updateContestStart(entryId, record.time, 1, &failure)) {
        startTaken(record);
        emit notifyContestStartStored(entryId, record.time);
        return Outcome::Stored;
    }
    if (failure != SqlQuery::Failure::None)
        return failed(failure, record);
    startRefused(record);
    qDebug() << "BusinessControllerClient::infoConfirmUpdated: entry" << entryId
             << "was not marked as started";
    return Outcome::Refused;
}

void BusinessControllerClient::startTaken(const TerminalJournal::Record &record)
{
    const std::lock_guard<std::mutex> locker(m_notesLock);
    const auto connection = m_starts.find(record.connection);
    if (connection == m_starts.end() || !connection->contains(record.entryId))
        return;
    // The sittings of the starts before it are over.
    QStringList &starts = (*connection)[record.entryId];
    const int at = starts.indexOf(record.time);
    if (at > 0)
        starts.erase(starts.begin(), starts.begin() + at);
}

void BusinessControllerClient::startRefused(const TerminalJournal::Record &record)
{
    const std::lock_guard<std::mutex> locker(m_notesLock);
    const auto connection = m_starts.find(record.connection);
    if (connection == m_starts.end() || !connection->contains(record.entryId))
        return;
    // No sitting began with it. The entry stays among the connection's
    // started ones: its results belong to none of the others' sittings.
    (*connection)[record.entryId].removeOne(record.time);
}

bool BusinessControllerClient::inItsSitting(const TerminalJournal::Record &record,
                                            const MySqlConnectionClient::ResultBasis &basis)
{
    const QDateTime arrived = QDateTime::fromString(record.time, "yyyy-MM-dd hh:mm:ss");
    const QString course = Utility::getInstance()->logText(basis.courseCode);
    if (basis.lastReset.isValid() && basis.lastReset > arrived) {
        qWarning().noquote() << "BusinessControllerClient::contestResultUpdated: entry" << record.entryId
                             << "in course" << course << "was reset at"
                             << basis.lastReset.toString("yyyy-MM-dd hh:mm:ss") << ", after its result arrived at"
                             << record.time << ": it is not stored";
        return false;
    }
    const QString started = basis.startTime.isEmpty() ? QStringLiteral("no time") : basis.startTime;
    if (record.ownStarts && !record.sittings.contains(basis.startTime)) {
        qWarning().noquote() << "BusinessControllerClient::contestResultUpdated: the result of entry"
                             << record.entryId << "in course" << course << "belongs to the sitting started at"
                             << (record.sittings.isEmpty() ? QStringLiteral("none") : record.sittings.last())
                             << ", not to the one started at" << started << ": it is not stored";
        return false;
    }
    // A terminal that reconnected: the sitting the entry is in, unless it
    // began after the result arrived.
    if (!record.ownStarts && !basis.startTime.isEmpty() && basis.startTime > record.time) {
        qWarning().noquote() << "BusinessControllerClient::contestResultUpdated: the result of entry"
                             << record.entryId << "in course" << course << "arrived at" << record.time
                             << ", before the sitting started at" << started << ": it is not stored";
        return false;
    }
    return true;
}

BusinessControllerClient::Outcome BusinessControllerClient::storeResult(MySqlConnectionClient *db,
                                                                        quint64 clientId,
                                                                        const TerminalJournal::Record &record)
{
    const int entryId = record.entryId;
    // What the checksum covers, read before the write: never from a read
    // that failed.
    SqlQuery::Failure failure = SqlQuery::Failure::None;
    const MySqlConnectionClient::ResultBasis basis = db->readResultBasis(entryId, record.courseCode, &failure);
    if (failure != SqlQuery::Failure::None)
        return failed(failure, record);
    if (!basis.found) {
        qWarning().noquote() << "BusinessControllerClient::contestResultUpdated: there is no entry" << entryId
                             << "in course" << Utility::getInstance()->logText(record.courseCode)
                             << ": its result is not stored";
        return Outcome::Refused;
    }
    if (basis.state != 1) {
        if (basis.state == 2) {
            if (holdsResult(db, record, storableAnswers(entryId, record.answers), &failure))
                return resultStored(clientId, record, basis.courseCode);
            if (failure != SqlQuery::Failure::None)
                return failed(failure, record);
        }
        qDebug() << "BusinessControllerClient::contestResultUpdated: Contestant has done the exam. This "
                    "result will not be updated";
        return Outcome::Refused;
    }
    if (!inItsSitting(record, basis))
        return Outcome::Refused;

    MySqlConnectionClient::ResultWrite write;
    write.id = entryId;
    // The course as stored, from here on.
    write.courseCode = basis.courseCode;
    write.endTime = record.time;
    write.score = record.score;
    write.passMark = record.passMark;
    write.result = record.passed ? RESULT_PASS : RESULT_FAIL;
    // Kept by an older version, the answers may not be fit yet.
    write.answers = storableAnswers(entryId, record.answers);
    write.attempts = basis.attempts + 1;
    write.sitting = basis.startTime;
    const ContestantResultInfo info =
        MySqlConnectionClient::resultToStore(basis, write.endTime, write.score, write.result, write.answers);
    write.checkSum = ResultChecksum::make(info, QDateTime::currentDateTime());
    if (!db->storeResult(write, &failure)) {
        if (failure != SqlQuery::Failure::None)
            return failed(failure, record);
        // An earlier try may have stored it after its reply was lost or
        // came too late (a statement that waited on a lock past the
        // time-out runs on): then the row holds this very result.
        const bool held = holdsResult(db, record, write.answers, &failure);
        if (failure != SqlQuery::Failure::None)
            return failed(failure, record);
        if (!held) {
            qWarning().noquote() << "BusinessControllerClient::contestResultUpdated: the result of entry"
                                 << entryId << "in course" << Utility::getInstance()->logText(write.courseCode)
                                 << "was not stored";
            return Outcome::Refused;
        }
    }
    return resultStored(clientId, record, write.courseCode);
}

bool BusinessControllerClient::holdsResult(MySqlConnectionClient *db, const TerminalJournal::Record &record,
                                           const QString &answers, SqlQuery::Failure *failure)
{
    // Its end time is the arrival time of this very result: no other
    // result of the entry carries it together with its score and answers.
    const MySqlConnectionClient::StoredResult stored = db->readStoredResult(record.entryId, failure);
    const bool held = stored.found && stored.state == 2 && stored.endTime == record.time
                      && stored.score == record.score && stored.answers == answers;
    if (held)
        qInfo() << "BusinessControllerClient::contestResultUpdated: the result of entry" << record.entryId
                << "arrived at" << record.time << "was stored by an earlier try";
    return held;
}

BusinessControllerClient::Outcome BusinessControllerClient::resultStored(quint64 clientId,
                                                                         const TerminalJournal::Record &record,
                                                                         const QString &courseCode)
{
    emit notifyContestResultStored(record.entryId, record.score, record.passMark, record.passed, record.time);
    if (autoPrint() != 0)
        emit notifyUpdateReport(clientId, record.entryId, courseCode);
    return Outcome::Stored;
}

bool BusinessControllerClient::openJournal(const QString &path)
{
    return m_journal.open(path);
}

int BusinessControllerClient::pendingWrites() const
{
    return m_journal.pendingCount();
}

void BusinessControllerClient::startReplay()
{
    m_replay.start();
}

void BusinessControllerClient::stopReplay()
{
    m_replay.stop();
}

void BusinessControllerClient::handleAuthenStateTwo(quint64 clientId, const char *response16)
{
    Q_UNUSED(clientId)
    Q_UNUSED(response16)
}

void BusinessControllerClient::handleContestNameRequest(quint64 clientId)
{
    qInfo() << LOG_ENTER_FUNCTION;
    const Connection db = databaseAway() ? Connection() : connectionFor(clientId);
    QStringList codes;
    QStringList names;
    // Without the database the list is empty, as that of a lookup that
    // failed: the terminal is answered all the same.
    if (db) {
        const SqlFailureWatch watch;
        const QList<Course> courses = db->getCoursesByState();
        if (watch.unreachable()) {
            databaseLost();
        } else {
            for (const Course &course : courses) {
                codes << course.getIDKhoaHoc();
                names << course.getTenKhoaHoc();
            }
        }
    }
    ContestNameMessage reply;
    reply.setKind(ContestNameMessage::KIND_REPLY);
    reply.setCourseCodes(codes.join(';').toUtf8());
    reply.setCourseNames(names.join(';').toUtf8());
    send(clientId, reply);
    qInfo() << LOG_FINISH_FUNCTION;
}

ReportInfo *BusinessControllerClient::getReportInfo(qulonglong idClient, int id,
                                                    const QString &contestCode)
{
    ReportInfo *report = nullptr;
    ContestantResultInfo stored;
    if (const Connection db = storedConnection(idClient)) {
        report = db->getPrintDetail(id, contestCode);
        if (report->getOrderNumber().isEmpty()) {
            delete report;
            return nullptr;
        }
        stored = db->getContestantResultInfo(report->getContestantId());
    } else {
        // The terminal has gone since it sent the result: its sheet is read
        // through the operator's connection, found by the entry's order
        // number in the course.
        MySqlConnection *main = m_mainConnection;
        if (main == nullptr)
            return nullptr;
        stored = main->getContestantResultInfo(id);
        if (stored.getSoBaoDanh().isEmpty())
            return nullptr;
        report = new ReportInfo(main->getPrintDetail(contestCode, stored.getSoBaoDanh()));
        // The order number may belong to another entry when `id` is not of
        // this course.
        if (report->getOrderNumber().isEmpty() || report->getContestantId() != id) {
            delete report;
            return nullptr;
        }
    }
    const QDateTime examDate(QDate::fromString(report->getContestDate(), "dd.MM.yyyy"), QTime(0, 0));
    report->setResultValid(ResultChecksum::verify(report->getCheckSum(), stored, examDate));
    return report;
}
