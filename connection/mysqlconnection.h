#ifndef CONNECTION_MYSQLCONNECTION_H
#define CONNECTION_MYSQLCONNECTION_H

#include "connection/mysqlconnectionbase.h"
#include "records/course.h"
#include "records/coursereportsummary.h"
#include "records/khoathithisinh.h"
#include "records/province.h"
#include "records/reportinfo.h"
#include "records/sqlresultinfo.h"
#include "records/student.h"
#include "records/unit.h"

#include <QList>
#include <QString>

class Account;
class CRUDStudentInfo;
class StudentInfoList;

// The operator side's access to the main database: courses, provinces,
// units, accounts, persons, course entries and the candidate table.
//
// Reads report no failure: a failed statement gives an empty record or list.
// Lists returned by pointer are new, and the caller deletes them with their
// elements. The delete operations report through the result's code (0 done,
// -1 not done) and message; their success flag stays false.
class MySqlConnection : public MySqlConnectionBase
{
    Q_OBJECT

public:
    explicit MySqlConnection(QObject *parent = nullptr);
    ~MySqlConnection() override;

    // Courses. A course code already stored sets *duplicateCode (when given).
    bool createCourse(Course *course, bool *duplicateCode = nullptr);
    bool updateCourse(Course *course);
    // Refused while the course is being examined; otherwise removes its
    // entries, then the course. Persons stay.
    SqlResultInfo deleteCourse(const QString &id);
    // A course imported from the theory-test database, stored as prepared.
    bool insertKhoaThi(Course course);
    bool isCourseExist(const QString &id);
    // Newest exam date first.
    QList<Course *> *getAllCourses();
    // Exam date within the last six months, newest first.
    QList<Course *> getRecentCourses();
    Course getCourse(const QString &id);
    // Prepared, being examined or without a state: code and name only.
    QList<Course> getStartableCourses();
    CourseReportSummary getCourseReportSummary(const QString &id);

    // Provinces.
    bool createProvince(Province province);
    bool insertProvince(Province province);
    bool updateProvince(Province province);
    // Refused while a unit refers to the province.
    SqlResultInfo deleteProvince(const QString &id);
    Province getProvince(const QString &id);
    QList<Province *> *getAllProvinces();

    // Units. The operator's create and update take the province from the
    // unit's Province object, the import takes the unit's own IDTinh.
    bool createUnit(Unit *unit);
    bool insertUnit(Unit unit);
    bool updateUnit(Unit *unit);
    // Refused while a course refers to the unit.
    SqlResultInfo deleteUnit(const QString &id);
    // The province pointer stays null.
    Unit getUnit(const QString &id);
    // Each unit carries a new Province (null when its province is unknown),
    // owned by the caller with the unit.
    QList<Unit *> *getAllUnits();

    // The account of `userName`, read by column position; null when there is
    // none. The caller owns it.
    Account *getAccount(const QString &userName);

    // Persons and course entries.
    // The new entry's ID in the result; refused when the order number is
    // already used in the course ("SoBaoDanh is exist").
    SqlResultInfo addContestantInfo(const CRUDStudentInfo &info, const QString &course);
    // Whether any person with these codes already has an entry in the course.
    bool isStudentInCourse(const QString &course, const QString &maDangKy, const QString &maKySH);
    // Also voids the entry's stored checksum.
    bool updateContestantInfo(int id, const CRUDStudentInfo &info);
    bool removeContestantInfo(int id, const QString &course);
    // Clears the simulation result and adds the reset to the entry's history.
    bool resetContestantResult(int id, const QString &course, const QString &reason);
    bool updateKetQuaSHLyThuyet(int id, const QString &ketQuaSHLyThuyet);
    bool insertNguoiLX(Student student);
    // Writes the person as insertNguoiLX does and returns the new row's
    // IDThiSinh, read from the insert itself; 0 when the row was not written.
    // Imports link the entry to this key: several persons may share an
    // identity number and name, and looking the person up again would pick
    // an older row.
    int insertPerson(const Student &student);
    bool insertKhoaThiThiSinh(KhoaThiThiSinh khoaThiThiSinh);
    Student getStudent(int idThiSinh);
    // IDThiSinh 0 when no such person exists.
    Student findStudent(const QString &soCMT, const QString &hoTen);
    Student findStudent(const QString &soCMT, const QString &hoTen, const QString &maKySH);
    // By numeric order number, then entry id; the caller owns the records.
    QList<KhoaThiThiSinh *> getKhoaThiThiSinhList(const QString &course);
    // Entries whose theory result is unknown or failed: ID, SoBaoDanh and
    // KetQuaSHLyThuyet only, in the same order.
    QList<KhoaThiThiSinh *> getTheoryFailedStudents(const QString &course);

    // Candidate table and result sheet.
    // The course's entries with their persons, by numeric order number.
    StudentInfoList *getStudentInfosOfCourse(const QString &course);
    // Order numbers of the entries in the examination, by numeric value.
    StudentInfoList *getSoBaoDanhByState(const QString &course);
    ReportInfo getPrintDetail(const QString &course, const QString &soBaoDanh);
};

#endif // CONNECTION_MYSQLCONNECTION_H
