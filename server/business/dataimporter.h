#ifndef SERVER_BUSINESS_DATAIMPORTER_H
#define SERVER_BUSINESS_DATAIMPORTER_H

#include "records/course.h"
#include "records/province.h"
#include "records/unit.h"

#include <QDomDocument>
#include <QPair>
#include <QString>

class AuxiliaryDb;
class MySqlConnection;

// Brings candidates into the main database: a whole course copied from the
// theory-test database, the authority's candidate-list XML, and the theory
// results refreshed from the theory-test database. The theory-test database
// is only read. The caller (the business controller) keeps its cached lists
// and the operator's views in step with what is reported here.
class DataImporter
{
public:
    struct CourseImportResult
    {
        // Entries written, or -1 when the course was already there.
        int imported = 0;
        // The course's entries in the theory-test database.
        int total = 0;
        bool provinceInserted = false;
        Province province;
        bool unitInserted = false;
        // Its province pointer is left null: the caller links its own.
        Unit unit;
        bool courseInserted = false;
        // As the main database now holds it (state 1, not yet examined).
        Course course;
    };

    struct TheoryRefreshResult
    {
        int updated = 0;
        // Whether `currentCourseId` was among the courses being examined.
        bool currentCourseExamined = false;
    };

    // Writes go to `main`; the refresh reads through `main2` and `aux2`, the
    // course import through `aux`. None is owned; any may be null (the
    // operation then does nothing and reports nothing written).
    DataImporter(MySqlConnection *main, MySqlConnection *main2, AuxiliaryDb *aux, AuxiliaryDb *aux2);

    CourseImportResult importCourse(const QString &courseId);
    // (entries written, the file's declared total)
    QPair<int, int> importCandidatesXml(const QDomDocument &document, const QString &courseId);
    TheoryRefreshResult refreshTheoryResults(const QString &currentCourseId);

private:
    MySqlConnection *m_main;
    MySqlConnection *m_main2;
    AuxiliaryDb *m_aux;
    AuxiliaryDb *m_aux2;
};

#endif // SERVER_BUSINESS_DATAIMPORTER_H
