#ifndef SERVER_BUSINESS_BUSINESSCONTROLLER_H
#define SERVER_BUSINESS_BUSINESSCONTROLLER_H

#include "records/contestantresultinfo.h"
#include "records/course.h"
#include "records/coursereportsummary.h"
#include "records/crudstudentinfo.h"
#include "records/reportinfo.h"
#include "records/sqlresultinfo.h"
#include "server/business/terminalsettings.h"
#include "server/business/videodistributor.h"
#include "server/protocol/serverinputinterface.h"

#include <QDateTime>
#include <QDomDocument>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>

class AuxiliaryDb;
class CommonExportXml;
class ContestContent;
class CourseInfo;
class FileUtility;
class JsonHandler;
class MySqlConnection;
class Province;
class SqliteConnection;
class StudentInfoList;
class StudentModel;
class Unit;
class XlsxHandler;

// The operator side's business object: owns the connections to the main,
// theory-test and video databases, the candidate table of the selected
// course, the cached course, province and unit lists, and serves every read
// and change the windows make. Terminal events reach it through the input
// hub on the handler-queue thread; what they change in the candidate table
// is applied on this object's (the GUI) thread, so the views never read a
// row while it changes.
class BusinessController : public QObject, public ServerInputInterface, public TerminalSettings
{
    Q_OBJECT

public:
    // The one controller, created on first use (on the GUI thread) even when
    // two threads ask at once.
    static BusinessController *getInstance();

    // 1 when the main database could not be opened at construction, or
    // was not tried (isWorkFolderTaken()).
    int isDbConnectionFailed() const;
    // Another program serves from this working folder: this one opened
    // nothing (no journal, no listener, no database).
    bool isWorkFolderTaken() const;
    // Null after a main-database failure.
    StudentModel *getStudentModel() const;
    FileUtility *getFileUtility() const;
    MySqlConnection *getMySqlConnection() const;
    AuxiliaryDb *getAuxiliaryDb() const;
    std::shared_ptr<ContestContent> getContestContent() const;

    // Courses. Cached lists stay owned by the controller.
    QList<Course *> *getAllCourses();
    void refreshAllCourses();
    // Null, and no current course, for an index outside the cached list.
    Course *setCurrentCourse(int index);
    Course *getCurrentCourse() const;
    QList<Course> getStartingCourses();
    QList<Course> getStartableCourses();
    QString getRecentCourseIdAt(int index) const;
    CourseReportSummary getCourseReportSummary();
    // New; the caller deletes it.
    CourseInfo *getCourseInfo(const QString &courseId);
    // New; the caller deletes it with its rows.
    StudentInfoList *getSoBaoDanhByState(const QString &courseId);
    // A course code already stored sets *duplicateCode (when given).
    bool createCourse(Course *course, bool *duplicateCode = nullptr);
    bool updateCourse(Course *course);
    SqlResultInfo deleteCourse(const QString &courseId);
    bool isCourseExist(const QString &courseId);

    // Provinces and units.
    QList<Province *> *getAllProvinces();
    QList<Unit *> *getAllUnits();
    bool createProvince(Province province);
    bool updateProvince(Province province);
    bool createUnit(Unit *unit);
    bool updateUnit(Unit *unit);
    SqlResultInfo deleteProvince(const QString &provinceId);
    SqlResultInfo deleteUnit(const QString &unitId);

    // Candidate table of the current course.
    // A read that fails leaves the rows shown as they were and sets
    // `failed` (when given): an outage is not an empty course.
    StudentModel *loadStudentsOfCourse(const QString &courseId, bool *failed = nullptr);
    SqlResultInfo addContestantInfo(const CRUDStudentInfo &info);
    // The row is found by the entry's id; `row` is the caller's view of it.
    bool updateContestantInfo(int id, int row, const CRUDStudentInfo &info);
    bool removeContestantInfo(int id);
    bool resetContestantResult(int id, int row, const QString &comment);
    bool isStudentInCourse(const QString &courseId, const QString &maDangKy, const QString &maKySH);
    ReportInfo getReportInfo(int id);
    bool isNotTestTheoryResult(const QString &contentNumber) const override;

    // Theory-test database.
    QList<Course *> getAuxiliaryCourses();
    QList<Course *> getCachedAuxiliaryCourses() const;

    // Settings.
    int getAutoPrint() const override;
    int getTimeUpdateTheoryResult() const;
    bool getCheckPassingTheoryExam() const override;
    bool getImportAvatarFolderOn() const override;

    // Reports.
    bool exportExcel(const QString &courseId);
    bool exportFailedStudentsExcel(const QString &courseId);
    bool exportPassedStudentsExcel(const QString &courseId);
    bool exportAbsentStudentsExcel(const QString &courseId);
    // The Excel reports write nothing and answer false when the course
    // cannot be read. The XML forms set `failed` (when given) then, and their
    // document must not be written.
    QDomDocument exportXml(const QString &courseId, bool *failed = nullptr);
    QDomDocument exportKQSHMPXml(const QString &courseId, bool *failed = nullptr);

    // The account's role, or -1.
    int validateLogin(const QString &userName, const QString &password);

    // Result checksum.
    QString makeResultChecksum(ContestantResultInfo info, const QDateTime &storedAt) const;
    bool verifyResultChecksum(const QString &stored, ContestantResultInfo info,
                              const QDateTime &examDate) const;
    QString makeResultChecksumText(ContestantResultInfo info) const;
    QString makeResultChecksumTextOld(ContestantResultInfo info) const;

    // Imports. (imported entries or -1 for a course already there, total)
    QPair<int, int> importCourseFromAuxiliaryDb(const QString &courseId);
    void addImportedCourse(Course course);
    // (imported entries, declared total)
    QPair<int, int> importCandidatesXml(const QDomDocument &document, const QString &courseId);
    // The number of entries whose theory result was updated.
    int updateResultOfFriendDB();

    // Every listed video to every connected terminal; holds the calling
    // (GUI) thread until done. What went where, for the window.
    VideoDistributor::Outcome syncAllVideos();

    // Terminal events (handler-queue thread).
    void orderNumberUpdated(quint64 clientId, const QString &courseCode,
                            const QString &orderNumber) override;
    void contestResultUpdated(quint64 clientId, int score, int passMark, bool passed, int entryId,
                              const QString &courseCode, const QString &answers) override;
    void infoConfirmUpdated(quint64 clientId, int entryId, bool flag, bool review) override;
    void handleAuthenStateTwo(quint64 clientId, const char *response16) override;
    void handleContestNameRequest(quint64 clientId) override;

signals:
    void notifyDataChanged();
    void notifyUpdateCourseInfo();
    void notifyUpdateReport(int id, QString contestCode);
    void notifyUpdateResultTheoryInUI(QString courseId);
    void notifyImportProvinceFromDb();
    void notifyImportCourseFromDb();
    void notifyImportUnitFromDb();

public slots:
    void onUpdateAllStudentTable();
    void onUpdateConfig(int autoPrint, int timeUpdateTheoryResult, bool checkPassingTheoryExam);

private slots:
    // From the terminal business controller, once the database holds the
    // start or the result: the row follows on this (the GUI) thread.
    void onContestStartStored(int id, QString startTime);
    void onContestResultStored(int id, int score, int passMark, bool passed, QString endTime);

private:
    BusinessController();
    ~BusinessController() override;

    // Index of the row with `id` in the current rows, -1 when none.
    int indexOfRow(int id) const;
    // Index of the entry `id` that the operator changes through table row
    // `row`, -1 when there is no current course or no such entry. A row that
    // no longer shows the entry (the table moved under the operator) is
    // logged under `caller`; the entry is changed where it is now. The
    // caller holds m_rowLock.
    int indexOfChangedRow(int id, int row, const char *caller) const;
    void announceRowChanged(int index);
    bool exportClassified(const QString &courseId, int kind);
    // Takes the working folder's lock (WorkFolderLock) unless this process
    // holds it already; false (logged) when another program holds it.
    bool lockWorkFolder();
    QDomDocument exportWith(CommonExportXml *builder, const QString &courseId, bool *failed);

    StudentInfoList *m_currentRows = nullptr;
    MySqlConnection *m_mainDb = nullptr;
    MySqlConnection *m_mainDb2 = nullptr;
    SqliteConnection *m_videoDb = nullptr;
    AuxiliaryDb *m_auxDb = nullptr;
    AuxiliaryDb *m_auxDb2 = nullptr;
    QStringList m_videoList;
    StudentModel *m_studentModel = nullptr;
    QList<Course *> m_recentCourses;
    QList<Course *> m_auxiliaryCourses;
    FileUtility *m_fileUtility = nullptr;
    Course *m_currentCourse = nullptr;
    XlsxHandler *m_xlsxHandler = nullptr;
    int m_dbFailed = 0;
    bool m_workFolderTaken = false;
    // Off until the run-mode file has been read, so nothing acts on unread
    // settings.
    // Read on the handler-queue thread by the terminal business logic while
    // the operator may change them here.
    std::atomic_int autoPrint{0};
    std::atomic_int timeUpdateTheoryResult{0};
    std::atomic_bool checkPassingTheoryExam{false};
    std::atomic_bool m_importAvatarFolderOn{false};
    QList<Course *> *m_allCourses = nullptr;
    QList<Province *> *m_provinces = nullptr;
    QList<Unit *> *m_units = nullptr;
    std::mutex m_rowLock;
    JsonHandler *m_jsonHandler = nullptr;
    std::shared_ptr<ContestContent> m_contestContent;
    CommonExportXml *m_xmlBuilder = nullptr;

    static std::mutex s_instanceMutex;
    static BusinessController *s_instance;
};

#endif // SERVER_BUSINESS_BUSINESSCONTROLLER_H
