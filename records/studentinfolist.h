#ifndef RECORDS_STUDENTINFOLIST_H
#define RECORDS_STUDENTINFOLIST_H

#include <QList>
#include <QPair>
#include <QString>

class CRUDStudentInfo;
class StudentInfo;

// The rows of the current course, owned here; the candidate model shows the
// same rows without owning them. Takes no lock: callers hold the business
// controller's row lock.
class StudentInfoList
{
public:
    StudentInfoList();
    ~StudentInfoList();
    StudentInfoList(const StudentInfoList &) = delete;
    StudentInfoList &operator=(const StudentInfoList &) = delete;
    StudentInfoList(StudentInfoList &&other) noexcept;
    StudentInfoList &operator=(StudentInfoList &&other) noexcept;

    // The list takes ownership of `row`.
    void append(StudentInfo *row);
    int size() const;
    StudentInfo *at(int index) const;
    const QList<StudentInfo *> &rows() const;

    StudentInfo *findById(int id) const;
    // (index, row) of the row with `id`; (0, nullptr) when there is none.
    QPair<int, StudentInfo *> findIndexById(int id) const;

    void resetResultAt(int index);
    // Index of the changed row, or -1 when no row has `id`.
    int setResultById(int score, int passMark, const QString &result, int id, const QString &endTime);
    int setStartTimeById(int id, const QString &startTime);
    void updateInfoAt(int index, const CRUDStudentInfo &info);
    // Removes and deletes the row at `index`.
    void removeAt(int index);

private:
    QList<StudentInfo *> *m_rows;
};

#endif // RECORDS_STUDENTINFOLIST_H
