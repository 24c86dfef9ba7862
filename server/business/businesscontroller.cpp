#include "server/business/businesscontroller.h"

#include "common/constants.h"
#include "connection/auxiliarydb.h"
#include "connection/databasestatus.h"
#include "connection/mysqlconnection.h"
#include "connection/sqlfailurewatch.h"
#include "connection/sqliteconnection.h"
#include "records/account.h"
#include "records/contestcontent.h"
#include "records/courseinfo.h"
#include "records/fileutility.h"
#include "records/jsonhandler.h"
#include "records/mysqlconnectioninfo.h"
#include "records/province.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "records/unit.h"
#include "reports/exports/firstformexportxml.h"
#include "reports/exports/secondformexportxml.h"
#include "reports/exports/xlsxhandler.h"
#include "server/business/businesscontrollerclient.h"
#include "server/business/dataimporter.h"
#include "server/business/resultchecksum.h"
#include "server/business/videodistributor.h"
#include "server/business/workfolderlock.h"
#include "server/network/authenticationcheck.h"
#include "server/network/iocontroller.h"
#include "server/protocol/inputdispatcher.h"
#include "models/studentmodel.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QThread>
#include <QTime>
#include <QtDebug>

std::mutex BusinessController::s_instanceMutex;
BusinessController *BusinessController::s_instance = nullptr;

namespace {

const int KIND_FAILED = 0;
const int KIND_PASSED = 1;
const int KIND_ABSENT = 2;

// The terminals' writes not yet stored, in the working folder.
const char *const TERMINAL_JOURNAL_PATH = "terminal_journal.txt";

void deleteCourses(QList<Course *> &courses)
{
    qDeleteAll(courses);
    courses.clear();
}

} // namespace

BusinessController *BusinessController::getInstance()
{
    const std::lock_guard<std::mutex> locker(s_instanceMutex);
    if (!s_instance) {
        s_instance = new BusinessController();
        // The queued row updates must run on the GUI thread even when a
        // worker thread happened to ask first.
        QCoreApplication *app = QCoreApplication::instance();
        if (app && s_instance->thread() != app->thread())
            s_instance->moveToThread(app->thread());
    }
    return s_instance;
}

BusinessController::BusinessController() : QObject(nullptr)
{
    m_studentModel = new StudentModel(this);
    m_fileUtility = new FileUtility();
    // Before the journal: a second program in the same folder would rewrite
    // it under the first one, which keeps appending to the file it replaced.
    const bool ownsFolder = lockWorkFolder();

    // The terminal business logic must hear of the first accepted terminal,
    // so it is in place before the listener starts.
    BusinessControllerClient *client = BusinessControllerClient::getInstance();
    connect(client, &BusinessControllerClient::notifyContestStartStored, this,
            &BusinessController::onContestStartStored, Qt::QueuedConnection);
    connect(client, &BusinessControllerClient::notifyContestResultStored, this,
            &BusinessController::onContestResultStored, Qt::QueuedConnection);
    IOController *io = IOController::getInstance();
    client->setSettings(this);
    client->setIOController(io);
    if (ownsFolder) {
        // Before the listener starts: the first terminal's writes are kept too.
        client->openJournal(TERMINAL_JOURNAL_PATH);
        io->setClientConnectionListener(client);
        io->createListenThread(m_fileUtility->readTcpConnectionConfig());
    }

    const MySqlConnectionInfo mainInfo = m_fileUtility->readMysqlConnectionConfig(MYSQL_CONFIG_PATH);
    DatabaseStatus::instance()->watch(mainInfo.getHost(), mainInfo.getPort(), mainInfo.getDbName());
    m_xlsxHandler = new XlsxHandler(this);
    m_jsonHandler = new JsonHandler(this);
    m_contestContent = m_jsonHandler->readContestContent();

    m_mainDb = new MySqlConnection(this);
    client->setMainConnection(m_mainDb);
    // A program that does not own the folder reaches no database either.
    const QSqlError mainError =
        ownsFolder ? m_mainDb->initDatabase(MYSQL_CONNECTION_NAME, mainInfo.getHost(), mainInfo.getPort(),
                                            mainInfo.getDbName(), mainInfo.getUserName(), mainInfo.getPassword())
                   : QSqlError();
    if (!ownsFolder || mainError.isValid()) {
        if (ownsFolder)
            qDebug() << "Unable to intialize Mysql database";
        delete m_studentModel;
        m_studentModel = nullptr;
        m_dbFailed = 1;
        return;
    }
    qDebug() << "Connect db successfully";
    m_recentCourses = m_mainDb->getRecentCourses();
    m_dbFailed = 0;

    connect(m_studentModel, &StudentModel::dataChanged, this, &BusinessController::notifyDataChanged);

    m_mainDb2 = new MySqlConnection(this);
    if (m_mainDb2
            ->initDatabase(MYSQL_CONNECTION_NAME + "2", mainInfo.getHost(), mainInfo.getPort(),
                           mainInfo.getDbName(), mainInfo.getUserName(), mainInfo.getPassword())
            .isValid())
        qDebug() << "Unable to intialize Mysql database 2";

    m_videoDb = new SqliteConnection(this);
    if (m_videoDb->initDatabase().isValid())
        qDebug() << "Unable to intialize sqlite database";
    else
        qDebug() << "Connect sqlite db successfully";

    InputDispatcher::getInstance()->registerBusinessController(this);

    const MySqlConnectionInfo auxInfo = m_fileUtility->readMysqlConnectionConfig(AUX_MYSQL_CONFIG_PATH);
    m_auxDb = new AuxiliaryDb(this);
    if (m_auxDb
            ->initDatabase(AUX_CONNECTION_NAME, auxInfo.getHost(), auxInfo.getPort(),
                           auxInfo.getDbName(), auxInfo.getUserName(), auxInfo.getPassword())
            .isValid())
        qDebug() << "Unable to intialize auxiliary Mysql database";
    else
        qDebug() << "Connect auxiliary db successfully";
    m_auxDb2 = new AuxiliaryDb(this);
    if (m_auxDb2
            ->initDatabase(AUX_CONNECTION_NAME + "2", auxInfo.getHost(), auxInfo.getPort(),
                           auxInfo.getDbName(), auxInfo.getUserName(), auxInfo.getPassword())
            .isValid())
        qDebug() << "Unable to intialize auxiliary Mysql database 2";

    int printMode = 0;
    int refreshSeconds = 0;
    bool theoryCheck = false;
    m_fileUtility->readRunModeConfig(printMode, refreshSeconds, theoryCheck);
    autoPrint = printMode;
    timeUpdateTheoryResult = refreshSeconds;
    checkPassingTheoryExam = theoryCheck;
    int avatarOn = 0;
    m_fileUtility->readAvatarConfig(avatarOn);
    m_importAvatarFolderOn = avatarOn == 1;
}

BusinessController::~BusinessController()
{
    // The model only shows the rows: it goes first so no view reads a row
    // after it is deleted.
    delete m_studentModel;
    m_studentModel = nullptr;
    delete m_currentRows;
    deleteCourses(m_recentCourses);
    deleteCourses(m_auxiliaryCourses);
    if (m_allCourses) {
        deleteCourses(*m_allCourses);
        delete m_allCourses;
    }
    if (m_provinces) {
        qDeleteAll(*m_provinces);
        delete m_provinces;
    }
    if (m_units) {
        // Each cached unit carries a province of its own.
        for (Unit *unit : qAsConst(*m_units)) {
            delete unit->getProvince();
            delete unit;
        }
        delete m_units;
    }
    delete m_xmlBuilder;
    delete m_fileUtility;
}

bool BusinessController::lockWorkFolder()
{
    // Taken already when the program took it first thing.
    WorkFolderLock &lock = WorkFolderLock::process();
    switch (lock.take()) {
    case WorkFolderLock::State::Untried:
    case WorkFolderLock::State::Held:
        return true;
    case WorkFolderLock::State::Unavailable:
        // Nothing can be written or locked there (a read-only folder): no
        // second program could replace the journal either, so this one runs
        // as it did without the lock.
        qWarning().nospace() << "BusinessController: the lock " << lock.path() << " cannot be taken ("
                             << qt_error_string(lock.error()) << "); the program runs without it";
        return true;
    case WorkFolderLock::State::TakenByAnother:
        break;
    }
    m_workFolderTaken = true;
    qCritical().noquote() << "BusinessController:" << lock.holderText() + "; this one starts nothing";
    return false;
}

bool BusinessController::isWorkFolderTaken() const
{
    return m_workFolderTaken;
}

// ---------------------------------------------------------------- getters

int BusinessController::isDbConnectionFailed() const
{
    return m_dbFailed;
}

StudentModel *BusinessController::getStudentModel() const
{
    return m_studentModel;
}

FileUtility *BusinessController::getFileUtility() const
{
    return m_fileUtility;
}

MySqlConnection *BusinessController::getMySqlConnection() const
{
    return m_mainDb;
}

AuxiliaryDb *BusinessController::getAuxiliaryDb() const
{
    return m_auxDb;
}

std::shared_ptr<ContestContent> BusinessController::getContestContent() const
{
    return m_contestContent;
}

int BusinessController::getAutoPrint() const
{
    return autoPrint;
}

int BusinessController::getTimeUpdateTheoryResult() const
{
    return timeUpdateTheoryResult;
}

bool BusinessController::getCheckPassingTheoryExam() const
{
    return checkPassingTheoryExam;
}

bool BusinessController::getImportAvatarFolderOn() const
{
    return m_importAvatarFolderOn;
}

bool BusinessController::isNotTestTheoryResult(const QString &contentNumber) const
{
    bool ok = false;
    int number = contentNumber.toInt(&ok, 10);
    if (!ok)
        number = 0;
    return m_contestContent && m_contestContent->getNotTestTheoryResult().contains(number);
}

// ---------------------------------------------------------- result checksum

QString BusinessController::makeResultChecksum(ContestantResultInfo info,
                                               const QDateTime &storedAt) const
{
    return ResultChecksum::make(info, storedAt);
}

bool BusinessController::verifyResultChecksum(const QString &stored, ContestantResultInfo info,
                                              const QDateTime &examDate) const
{
    return ResultChecksum::verify(stored, info, examDate);
}

QString BusinessController::makeResultChecksumText(ContestantResultInfo info) const
{
    return ResultChecksum::text(info);
}

QString BusinessController::makeResultChecksumTextOld(ContestantResultInfo info) const
{
    return ResultChecksum::textOld(info);
}

// ------------------------------------------------------------------ courses

QList<Course *> *BusinessController::getAllCourses()
{
    if (!m_allCourses)
        m_allCourses = m_mainDb->getAllCourses();
    if (!m_allCourses)
        m_allCourses = new QList<Course *>;
    return m_allCourses;
}

void BusinessController::refreshAllCourses()
{
    // Before the first load there is nothing to refresh: the next
    // getAllCourses reads the table. An existing list, even an empty one, is
    // refilled in place because the course views hold this very list.
    if (!m_allCourses)
        return;
    const SqlFailureWatch watch;
    QList<Course *> *fresh = m_mainDb->getAllCourses();
    // The list shown stays when the table cannot be read.
    if (watch.failed()) {
        if (fresh)
            deleteCourses(*fresh);
        delete fresh;
        return;
    }
    m_currentCourse = nullptr;
    deleteCourses(*m_allCourses);
    if (fresh) {
        *m_allCourses = *fresh;
        delete fresh;
    }
}

Course *BusinessController::setCurrentCourse(int index)
{
    if (!m_allCourses || index < 0 || index >= m_allCourses->size())
        m_currentCourse = nullptr;
    else
        m_currentCourse = m_allCourses->at(index);
    return m_currentCourse;
}

Course *BusinessController::getCurrentCourse() const
{
    return m_currentCourse;
}

QList<Course> BusinessController::getStartingCourses()
{
    return m_mainDb->getCoursesByState();
}

QList<Course> BusinessController::getStartableCourses()
{
    return m_mainDb->getStartableCourses();
}

QString BusinessController::getRecentCourseIdAt(int index) const
{
    if (index < 0 || index >= m_recentCourses.size())
        return QString();
    return m_recentCourses.at(index)->getIDKhoaHoc();
}

CourseReportSummary BusinessController::getCourseReportSummary()
{
    if (!m_currentCourse)
        return CourseReportSummary();
    return m_mainDb->getCourseReportSummary(m_currentCourse->getIDKhoaHoc());
}

CourseInfo *BusinessController::getCourseInfo(const QString &courseId)
{
    auto *info = new CourseInfo;
    info->setStudentList(m_mainDb->getStudentInfosOfCourse(courseId));
    info->setSummary(m_mainDb->getCourseReportSummary(courseId));
    return info;
}

StudentInfoList *BusinessController::getSoBaoDanhByState(const QString &courseId)
{
    return m_mainDb->getSoBaoDanhByState(courseId);
}

bool BusinessController::createCourse(Course *course, bool *duplicateCode)
{
    return m_mainDb->createCourse(course, duplicateCode);
}

bool BusinessController::updateCourse(Course *course)
{
    return m_mainDb->updateCourse(course);
}

SqlResultInfo BusinessController::deleteCourse(const QString &courseId)
{
    return m_mainDb->deleteCourse(courseId);
}

bool BusinessController::isCourseExist(const QString &courseId)
{
    return m_mainDb->isCourseExist(courseId);
}

// ------------------------------------------------------ provinces and units

QList<Province *> *BusinessController::getAllProvinces()
{
    if (!m_provinces)
        m_provinces = m_mainDb->getAllProvinces();
    if (!m_provinces)
        m_provinces = new QList<Province *>;
    return m_provinces;
}

QList<Unit *> *BusinessController::getAllUnits()
{
    if (!m_units)
        m_units = m_mainDb->getAllUnits();
    if (!m_units)
        m_units = new QList<Unit *>;
    return m_units;
}

bool BusinessController::createProvince(Province province)
{
    return m_mainDb->createProvince(province);
}

bool BusinessController::updateProvince(Province province)
{
    return m_mainDb->updateProvince(province);
}

bool BusinessController::createUnit(Unit *unit)
{
    return m_mainDb->createUnit(unit);
}

bool BusinessController::updateUnit(Unit *unit)
{
    return m_mainDb->updateUnit(unit);
}

SqlResultInfo BusinessController::deleteProvince(const QString &provinceId)
{
    return m_mainDb->deleteProvince(provinceId);
}

SqlResultInfo BusinessController::deleteUnit(const QString &unitId)
{
    return m_mainDb->deleteUnit(unitId);
}

// ---------------------------------------------------------- candidate table

int BusinessController::indexOfRow(int id) const
{
    if (!m_currentRows)
        return -1;
    const QPair<int, StudentInfo *> found = m_currentRows->findIndexById(id);
    return found.second ? found.first : -1;
}

int BusinessController::indexOfChangedRow(int id, int row, const char *caller) const
{
    const int index = indexOfRow(id);
    if (!m_currentCourse || index < 0)
        return -1;
    if (index != row)
        qDebug().nospace() << caller << ": row " << row << " shows entry " << id << " at " << index;
    return index;
}

void BusinessController::announceRowChanged(int index)
{
    if (!m_studentModel || index < 0 || index >= m_studentModel->rowCount())
        return;
    emit m_studentModel->dataChanged(m_studentModel->index(index, 0),
                                     m_studentModel->index(index, m_studentModel->columnCount() - 1));
}

StudentModel *BusinessController::loadStudentsOfCourse(const QString &courseId, bool *failed)
{
    if (failed)
        *failed = false;
    if (!m_studentModel)
        return nullptr;
    std::lock_guard<std::mutex> lock(m_rowLock);
    const SqlFailureWatch watch;
    StudentInfoList *rows = m_mainDb->getStudentInfosOfCourse(courseId);
    if (watch.failed()) {
        qWarning() << "BusinessController::loadStudentsOfCourse: the candidates of course" << courseId
                   << "could not be read; the table keeps the rows it shows";
        delete rows;
        if (failed)
            *failed = true;
        return m_studentModel;
    }
    if (!rows)
        rows = new StudentInfoList;
    // The model lets go of the old rows before they are deleted.
    m_studentModel->setStudentInfoList(rows->rows());
    StudentInfoList *previous = m_currentRows;
    m_currentRows = rows;
    delete previous;
    return m_studentModel;
}

SqlResultInfo BusinessController::addContestantInfo(const CRUDStudentInfo &info)
{
    std::lock_guard<std::mutex> lock(m_rowLock);
    SqlResultInfo result;
    result.setSuccess(false);
    result.setId(-1);
    result.setMessage(QString(""));
    result.setCode(-1);
    if (!m_currentCourse) {
        result.setMessage(QStringLiteral("Thêm học viên không thành công vì chưa chọn khóa học"));
        return result;
    }
    result = m_mainDb->addContestantInfo(info, m_currentCourse->getIDKhoaHoc());
    // Without a loaded table (or a model) there is no row to show it in.
    if (result.getSuccess() && m_currentRows && m_studentModel) {
        auto *row = new StudentInfo;
        row->setID(result.getId());
        row->setHoTen(info.getHoTen());
        row->setSoBaoDanh(info.getSoBaoDanh());
        row->setSoCMT(info.getSoCMT());
        row->setLoaiBang(info.getLoaiBang());
        row->setNgaySinh(info.getNgaySinh());
        row->setDiemMoPhong(-1);
        m_currentRows->append(row);
        m_studentModel->addStudentInfo(row);
    }
    return result;
}

bool BusinessController::updateContestantInfo(int id, int row, const CRUDStudentInfo &info)
{
    int index = -1;
    {
        std::lock_guard<std::mutex> lock(m_rowLock);
        index = indexOfChangedRow(id, row, "BusinessController::updateContestantInfo");
        if (index < 0)
            return false;
        if (!m_mainDb->updateContestantInfo(id, info))
            return false;
        m_currentRows->updateInfoAt(index, info);
    }
    announceRowChanged(index);
    return true;
}

bool BusinessController::removeContestantInfo(int id)
{
    std::lock_guard<std::mutex> lock(m_rowLock);
    const int index = indexOfRow(id);
    if (!m_currentCourse || index < 0 || !m_studentModel)
        return false;
    if (!m_mainDb->removeContestantInfo(m_currentRows->at(index)->getID(),
                                        m_currentCourse->getIDKhoaHoc()))
        return false;
    // The model lets go of the row before the list deletes it.
    m_studentModel->removeRows(index, 1);
    m_currentRows->removeAt(index);
    return true;
}

bool BusinessController::resetContestantResult(int id, int row, const QString &comment)
{
    int index = -1;
    {
        std::lock_guard<std::mutex> lock(m_rowLock);
        index = indexOfChangedRow(id, row, "BusinessController::resetContestantResult");
        if (index < 0)
            return false;
        if (!m_mainDb->resetContestantResult(id, m_currentCourse->getIDKhoaHoc(), comment))
            return false;
        m_currentRows->resetResultAt(index);
    }
    announceRowChanged(index);
    return true;
}

bool BusinessController::isStudentInCourse(const QString &courseId, const QString &maDangKy,
                                           const QString &maKySH)
{
    return m_mainDb->isStudentInCourse(courseId, maDangKy, maKySH);
}

ReportInfo BusinessController::getReportInfo(int id)
{
    QString orderNumber;
    {
        std::lock_guard<std::mutex> lock(m_rowLock);
        const int index = indexOfRow(id);
        if (!m_currentCourse || index < 0)
            return ReportInfo();
        orderNumber = m_currentRows->at(index)->getSoBaoDanh();
    }
    ReportInfo report = m_mainDb->getPrintDetail(m_currentCourse->getIDKhoaHoc(), orderNumber);
    report.setAnswers(report.getAnswers().split(QLatin1Char('|')).first());
    const ContestantResultInfo info = m_mainDb->getContestantResultInfo(report.getContestantId());
    const QDate examDate = QDate::fromString(report.getContestDate(), QStringLiteral("dd.MM.yyyy"));
    const QDateTime examAt(examDate, QTime(0, 0, 0));
    report.setResultValid(verifyResultChecksum(report.getCheckSum(), info, examAt));
    return report;
}

void BusinessController::onUpdateAllStudentTable()
{
    if (!m_studentModel || m_studentModel->rowCount() == 0)
        return;
    emit m_studentModel->dataChanged(
        m_studentModel->index(0, 0),
        m_studentModel->index(m_studentModel->rowCount() - 1, m_studentModel->columnCount() - 1));
}

void BusinessController::onContestStartStored(int id, QString startTime)
{
    int index = -1;
    {
        std::lock_guard<std::mutex> lock(m_rowLock);
        if (m_currentRows)
            index = m_currentRows->setStartTimeById(id, startTime);
    }
    announceRowChanged(index);
    emit notifyUpdateCourseInfo();
}

void BusinessController::onContestResultStored(int id, int score, int passMark, bool passed,
                                               QString endTime)
{
    int index = -1;
    {
        std::lock_guard<std::mutex> lock(m_rowLock);
        if (m_currentRows)
            index = m_currentRows->setResultById(score, passMark, passed ? RESULT_PASS : RESULT_FAIL,
                                                 id, endTime);
    }
    announceRowChanged(index);
    emit notifyUpdateCourseInfo();
}

// ------------------------------------------------------- theory-test database

QList<Course *> BusinessController::getAuxiliaryCourses()
{
    deleteCourses(m_auxiliaryCourses);
    if (m_auxDb)
        m_auxiliaryCourses = m_auxDb->getRecentAuxiliaryCourses();
    return m_auxiliaryCourses;
}

QList<Course *> BusinessController::getCachedAuxiliaryCourses() const
{
    return m_auxiliaryCourses;
}

// ----------------------------------------------------------------- settings

void BusinessController::onUpdateConfig(int autoPrint, int timeUpdateTheoryResult,
                                        bool checkPassingTheoryExam)
{
    this->autoPrint = autoPrint;
    this->timeUpdateTheoryResult = timeUpdateTheoryResult;
    this->checkPassingTheoryExam = checkPassingTheoryExam;
    if (!m_fileUtility->writeRunModeConfig(autoPrint, timeUpdateTheoryResult, checkPassingTheoryExam))
        qDebug() << "BusinessController::onUpdateConfig: failed to write config file";
}

// ------------------------------------------------------------------ reports

bool BusinessController::exportClassified(const QString &courseId, int kind)
{
    const SqlFailureWatch watch;
    CourseInfo *info = getCourseInfo(courseId);
    // An existing report stays as it was rather than become an empty one.
    if (watch.failed()) {
        qWarning() << "BusinessController::exportClassified: course" << courseId
                   << "could not be read; no report written";
        delete info;
        return false;
    }
    const bool saved = m_xlsxHandler->exportClassifiedReport(info, kind);
    delete info;
    return saved;
}

bool BusinessController::exportExcel(const QString &courseId)
{
    const SqlFailureWatch watch;
    CourseInfo *info = getCourseInfo(courseId);
    if (watch.failed()) {
        qWarning() << "BusinessController::exportExcel: course" << courseId
                   << "could not be read; no report written";
        delete info;
        return false;
    }
    const bool saved = m_xlsxHandler->exportSummaryReport(info);
    delete info;
    return saved;
}

bool BusinessController::exportFailedStudentsExcel(const QString &courseId)
{
    return exportClassified(courseId, KIND_FAILED);
}

bool BusinessController::exportPassedStudentsExcel(const QString &courseId)
{
    return exportClassified(courseId, KIND_PASSED);
}

bool BusinessController::exportAbsentStudentsExcel(const QString &courseId)
{
    return exportClassified(courseId, KIND_ABSENT);
}

QDomDocument BusinessController::exportWith(CommonExportXml *builder, const QString &courseId,
                                            bool *failed)
{
    delete m_xmlBuilder;
    m_xmlBuilder = builder;
    const SqlFailureWatch watch;
    QDomDocument document = m_xmlBuilder->build(courseId);
    if (watch.failed())
        qWarning() << "BusinessController::exportWith: course" << courseId
                   << "could not be read; the form must not be written";
    if (failed)
        *failed = watch.failed();
    return document;
}

QDomDocument BusinessController::exportXml(const QString &courseId, bool *failed)
{
    return exportWith(new FirstFormExportXml(m_mainDb), courseId, failed);
}

QDomDocument BusinessController::exportKQSHMPXml(const QString &courseId, bool *failed)
{
    return exportWith(new SecondFormExportXml(m_mainDb), courseId, failed);
}

// -------------------------------------------------------------------- login

int BusinessController::validateLogin(const QString &userName, const QString &password)
{
    Account *account = m_mainDb->getAccount(userName);
    int role = -1;
    if (account && account->getPassword() == password)
        role = account->getRole();
    delete account;
    return role;
}

// ------------------------------------------------------------------ imports

QPair<int, int> BusinessController::importCourseFromAuxiliaryDb(const QString &courseId)
{
    // Loaded before the import writes, so what it inserts is appended once
    // rather than read by a first load and appended again.
    getAllProvinces();
    getAllUnits();
    getAllCourses();

    DataImporter importer(m_mainDb, m_mainDb2, m_auxDb, m_auxDb2);
    const DataImporter::CourseImportResult result = importer.importCourse(courseId);
    if (result.provinceInserted && m_provinces) {
        m_provinces->append(new Province(result.province));
        emit notifyImportProvinceFromDb();
    }
    if (result.unitInserted && m_units) {
        auto *unit = new Unit(result.unit);
        unit->setProvince(new Province(result.province));
        m_units->append(unit);
        emit notifyImportUnitFromDb();
    }
    if (result.courseInserted)
        addImportedCourse(result.course);
    return qMakePair(result.imported, result.total);
}

void BusinessController::addImportedCourse(Course course)
{
    if (!m_allCourses) {
        // A first load already reads the stored course: list it only once.
        getAllCourses();
        for (const Course *listed : qAsConst(*m_allCourses)) {
            if (listed->getIDKhoaHoc() == course.getIDKhoaHoc()) {
                emit notifyImportCourseFromDb();
                return;
            }
        }
    }
    m_allCourses->append(new Course(course));
    emit notifyImportCourseFromDb();
}

QPair<int, int> BusinessController::importCandidatesXml(const QDomDocument &document,
                                                        const QString &courseId)
{
    DataImporter importer(m_mainDb, m_mainDb2, m_auxDb, m_auxDb2);
    return importer.importCandidatesXml(document, courseId);
}

int BusinessController::updateResultOfFriendDB()
{
    const QString currentId = m_currentCourse ? m_currentCourse->getIDKhoaHoc() : QString();
    DataImporter importer(m_mainDb, m_mainDb2, m_auxDb, m_auxDb2);
    const DataImporter::TheoryRefreshResult result = importer.refreshTheoryResults(currentId);
    if (result.updated > 0 && result.currentCourseExamined && !currentId.isEmpty())
        emit notifyUpdateResultTheoryInUI(currentId);
    return result.updated;
}

// ------------------------------------------------------------------- videos

VideoDistributor::Outcome BusinessController::syncAllVideos()
{
    m_videoList = m_videoDb ? m_videoDb->getVideoList() : QStringList();
    qDebug() << m_videoList;
    return VideoDistributor(IOController::getInstance()).distribute(m_videoList);
}

// ---------------------------------------------------------- terminal events

void BusinessController::orderNumberUpdated(quint64, const QString &, const QString &) {}

void BusinessController::contestResultUpdated(quint64, int, int, bool, int, const QString &,
                                              const QString &)
{
    // The table follows the stored result (onContestResultStored), not the
    // terminal's report.
    qInfo() << LOG_ENTER_FUNCTION;
    qInfo() << LOG_FINISH_FUNCTION;
}

void BusinessController::infoConfirmUpdated(quint64, int, bool, bool)
{
    qInfo() << LOG_ENTER_FUNCTION;
    qInfo() << LOG_FINISH_FUNCTION;
}

void BusinessController::handleAuthenStateTwo(quint64 clientId, const char *response16)
{
    qInfo() << LOG_ENTER_FUNCTION;
    AuthenticationCheck::checkAnswer(IOController::getInstance(), clientId, response16);
    qInfo() << LOG_FINISH_FUNCTION;
}

void BusinessController::handleContestNameRequest(quint64) {}
