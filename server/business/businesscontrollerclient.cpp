#include "server/business/businesscontrollerclient.h"

#include "common/constants.h"
#include "connection/mysqlconnection.h"
#include "connection/databasestatus.h"
#include "connection/mysqlconnectionclient.h"
#include "records/contestantresultinfo.h"
#include "records/fileutility.h"
#include "records/jp2image.h"
#include "records/mysqlconnectioninfo.h"
#include "records/utility.h"
#include "server/business/resultchecksum.h"
#include "server/business/terminalsettings.h"
#include "server/network/iocontroller.h"
#include "server/protocol/contestnamemessage.h"
#include "server/protocol/enterresponsemessage.h"
#include "server/protocol/inputdispatcher.h"
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

BusinessControllerClient::BusinessControllerClient() : QObject(nullptr)
{
    // Direct: the retries are woken from whichever thread's statement found
    // the database back.
    connect(DatabaseStatus::instance(), &DatabaseStatus::reachable, this,
            [this]() { wakeRetries(); }, Qt::DirectConnection);
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

BusinessControllerClient::Connection BusinessControllerClient::openConnection(const QString &name)
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
    const std::lock_guard<std::mutex> locker(m_connectionsLock);
    if (!connection) {
        m_retryPending.insert(clientId);
        return;
    }
    m_retryPending.remove(clientId);
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
        m_retryPending.remove(clientId);
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
        m_retryPending.clear();
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
    {
        const std::lock_guard<std::mutex> locker(m_connectionsLock);
        const auto found = m_connections.constFind(clientId);
        if (found != m_connections.constEnd())
            return found.value();
        if (!m_retryPending.remove(clientId))
            return Connection();
    }
    insertNewDbConnection(clientId);
    const std::lock_guard<std::mutex> locker(m_connectionsLock);
    // The retry was the last one, whatever its outcome.
    m_retryPending.remove(clientId);
    return m_connections.value(clientId);
}

void BusinessControllerClient::onClientAccepted(quint64 clientId)
{
    insertNewDbConnection(clientId);
}

void BusinessControllerClient::onClientRemoved(quint64 clientId)
{
    removeDbConnection(clientId);
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
    (qInfo() << LOG_ENTER_FUNCTION).noquote() << "Student enter with ordernumber: " << orderNumber;
    EnterResponseMessage reply(true);
    OrderNumberCheck check;
    check.setStatus(1);

    const Connection db = connectionFor(clientId);
    if (db) {
        bool unreachable = false;
        check = db->checkOrderNumber(courseCode, orderNumber, &unreachable);
        if (unreachable)
            qWarning() << "BusinessControllerClient::orderNumberUpdated: the database could not be reached"
                          " for course" << courseCode << "order number" << orderNumber;
        if (check.getStatus() == 0 && checkPassingTheoryExam()) {
            const QString theory = db->getKetQuaSHLyThuyet(courseCode, orderNumber);
            if (theory.compare(RESULT_PASS, Qt::CaseInsensitive) != 0
                && !isNotTestTheoryResult(check.getNoiDungSH()))
                check.setStatus(5);
        }
    }
    (qInfo() << LOG_ENTER_FUNCTION).noquote() << "Student enter with Id: " << check.getID();

    reply.setStatus(check.getStatus());
    if (db && (check.getStatus() == 0 || check.getStatus() == 2)) {
        reply.setLicenceClass(check.getLicenceClass());
        reply.setEntryId(check.getID());
        reply.setIdentityNumber(check.getSoCMT().toLocal8Bit());
        reply.setFullName(check.getHoTen().toUtf8());
        if (importAvatarFolderOn())
            importAvatar(db.get(), courseCode, orderNumber);
        reply.setPortrait(portraitForTerminal(db.get(), courseCode, orderNumber));
    }
    send(clientId, reply);
    qInfo() << LOG_FINISH_FUNCTION;
}

void BusinessControllerClient::infoConfirmUpdated(quint64 clientId, int entryId, bool flag, bool review)
{
    Q_UNUSED(flag)
    const Connection db = connectionFor(clientId);
    if (review) {
        if (!db)
            return;
        qInfo() << LOG_ENTER_FUNCTION;
        bool unreachable = false;
        ReviewMessage message;
        message.setAnswers(db->getTraLoiMoPhong(entryId, &unreachable).toLocal8Bit());
        if (unreachable)
            qWarning() << "BusinessControllerClient::infoConfirmUpdated: the database could not be reached"
                          " for the review of entry" << entryId;
        send(clientId, message);
        qInfo() << LOG_FINISH_FUNCTION;
        return;
    }
    // Kept even when the terminal has no connection: the database may be
    // away, and the start must reach it when it returns.
    if (!db && !m_journal.isOpen())
        return;
    qInfo() << LOG_ENTER_FUNCTION;
    TerminalJournal::Record record;
    record.kind = TerminalJournal::Record::Start;
    record.entryId = entryId;
    record.time = Utility::getInstance()->currentDateTimeText();
    keepAndStore(db, clientId, record);
    qInfo() << LOG_FINISH_FUNCTION;
}

void BusinessControllerClient::contestResultUpdated(quint64 clientId, int score, int passMark,
                                                    bool passed, int entryId,
                                                    const QString &courseCode, const QString &answers)
{
    (qInfo() << LOG_ENTER_FUNCTION).noquote() << "Update score for student: " << QString::number(entryId);
    const Connection db = connectionFor(clientId);
    if (!db && !m_journal.isOpen())
        return;
    TerminalJournal::Record record;
    record.kind = TerminalJournal::Record::Result;
    record.entryId = entryId;
    record.courseCode = courseCode;
    // The time it arrived, also when it is stored later.
    record.time = Utility::getInstance()->currentDateTimeText();
    record.score = score;
    record.passMark = passMark;
    record.passed = passed;
    record.answers = answers;
    keepAndStore(db, clientId, record);
    qInfo() << LOG_FINISH_FUNCTION;
}

void BusinessControllerClient::keepAndStore(const Connection &db, quint64 clientId,
                                            TerminalJournal::Record &record)
{
    const TerminalJournal::Appended appended = m_journal.append(record, db != nullptr);
    const qint64 number = appended.number;
    const bool claimed = appended.claimed;
    if (number == 0) {
        // Not kept (no journal, or it cannot be written): tried once.
        if (db && store(db.get(), clientId, record) == Outcome::Unreachable)
            qWarning() << "BusinessControllerClient: the database could not be reached and the write of"
                          " entry" << record.entryId << "could not be kept";
        return;
    }
    if (!claimed) {
        // An earlier write of the entry waits, or the terminal has no
        // connection: the retries store it in its turn.
        wakeRetries();
        return;
    }
    if (store(db.get(), clientId, record) == Outcome::Unreachable) {
        m_journal.release(number);
        warnKept(record);
        emit notifyWriteKept();
        return;
    }
    m_journal.finish(number);
}

void BusinessControllerClient::warnKept(const TerminalJournal::Record &record)
{
    if (record.kind == TerminalJournal::Record::Start)
        qWarning() << "BusinessControllerClient: the database could not be reached: the start of entry"
                   << record.entryId << "is kept and will be stored when it returns";
    else
        qWarning() << "BusinessControllerClient: the database could not be reached: the result of entry"
                   << record.entryId << "in course" << record.courseCode
                   << "is kept and will be stored when it returns";
}

BusinessControllerClient::Outcome BusinessControllerClient::store(MySqlConnectionClient *db, quint64 clientId,
                                                                  const TerminalJournal::Record &record)
{
    bool unreachable = false;
    const int entryId = record.entryId;
    if (record.kind == TerminalJournal::Record::Start) {
        // The operator's table shows a start only when the database took it:
        // an entry already in the examination or finished keeps its state.
        if (db->updateContestStart(entryId, record.time, 1, &unreachable)) {
            emit notifyContestStartStored(entryId, record.time);
            return Outcome::Stored;
        }
        if (unreachable)
            return Outcome::Unreachable;
        qDebug() << "BusinessControllerClient::infoConfirmUpdated: entry" << entryId
                 << "was not marked as started";
        return Outcome::Refused;
    }

    const int state = db->getContestantState(entryId, &unreachable);
    if (unreachable)
        return Outcome::Unreachable;
    if (state != 1) {
        qDebug() << "BusinessControllerClient::contestResultUpdated: Contestant has done the exam. This "
                    "result will not be updated";
        return Outcome::Refused;
    }

    const QString result = record.passed ? RESULT_PASS : RESULT_FAIL;
    if (!db->updateContestResult(record.courseCode, record.time, record.score, record.passMark, result,
                                 entryId, record.answers, &unreachable)) {
        if (unreachable)
            return Outcome::Unreachable;
        // Nothing new is stored: a checksum now would seal the old row and a
        // sheet would print it as this result.
        qWarning() << "BusinessControllerClient::contestResultUpdated: the result of entry" << entryId
                   << "in course" << record.courseCode << "was not stored";
        return Outcome::Refused;
    }
    emit notifyContestResultStored(entryId, record.score, record.passMark, record.passed, record.time);

    const ContestantResultInfo stored = db->getContestantResultInfo(entryId);
    if (!db->updateCheckSum(entryId, ResultChecksum::make(stored, QDateTime::currentDateTime())))
        qWarning() << "BusinessControllerClient::contestResultUpdated: the checksum of entry" << entryId
                   << "was not stored";

    if (autoPrint() != 0)
        emit notifyUpdateReport(clientId, entryId, record.courseCode);
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

void BusinessControllerClient::startRetries()
{
    if (m_retryThread.isStarted())
        return;
    if (!m_retryThread.start([this]() {
            while (!m_retryThread.stopRequested()) {
                retryRound();
                std::unique_lock<std::mutex> locker(m_wakeLock);
                m_wakeChanged.wait_for(locker, std::chrono::milliseconds(RETRY_MS),
                                       [this]() { return m_wake || m_retryThread.stopRequested(); });
                m_wake = false;
            }
            m_retryConnection.reset();
        }))
        qWarning() << "BusinessControllerClient: the thread that stores the kept writes could not be started";
}

void BusinessControllerClient::stopRetries()
{
    m_retryThread.requestStop();
    {
        const std::lock_guard<std::mutex> locker(m_wakeLock);
        m_wake = true;
    }
    m_wakeChanged.notify_all();
    m_retryThread.join();
}

void BusinessControllerClient::wakeRetries()
{
    {
        const std::lock_guard<std::mutex> locker(m_wakeLock);
        m_wake = true;
    }
    m_wakeChanged.notify_all();
}

void BusinessControllerClient::retryRound()
{
    if (m_journal.pendingCount() == 0)
        return;
    if (!m_retryConnection) {
        m_retryConnection = openConnection(QStringLiteral("terminal-journal"));
        if (!m_retryConnection)
            return;
    }
    bool away = false;
    for (const TerminalJournal::Record &record : m_journal.claimPending()) {
        // Once the database is away, the rest wait for the next round: a
        // later write of an entry never overtakes an earlier one.
        if (away || m_retryThread.stopRequested()) {
            m_journal.release(record.number);
            continue;
        }
        if (store(m_retryConnection.get(), NO_TERMINAL, record) == Outcome::Unreachable) {
            away = true;
            emit notifyWriteKept();
            m_journal.release(record.number);
            continue;
        }
        m_journal.finish(record.number);
    }
}

void BusinessControllerClient::handleAuthenStateTwo(quint64 clientId, const char *response16)
{
    Q_UNUSED(clientId)
    Q_UNUSED(response16)
}

void BusinessControllerClient::handleContestNameRequest(quint64 clientId)
{
    const Connection db = connectionFor(clientId);
    if (!db)
        return;
    qInfo() << LOG_ENTER_FUNCTION;
    QStringList codes;
    QStringList names;
    const QList<Course> courses = db->getCoursesByState();
    for (const Course &course : courses) {
        codes << course.getIDKhoaHoc();
        names << course.getTenKhoaHoc();
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
