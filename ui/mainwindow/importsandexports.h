#ifndef ORV_UI_MAINWINDOW_IMPORTSANDEXPORTS_H
#define ORV_UI_MAINWINDOW_IMPORTSANDEXPORTS_H

#include "records/course.h"

#include <QDomDocument>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class BusinessController;
class CustomerBox;
class ExportStudentsDialog;
class ImportAgainDialog;
class ImportInfosDialog;
class ImportXmlDialog;
class ManageCourseDialog;
class ManageProvinceDialog;
class ManageUnitDialog;
class QWidget;

// The main window's imports (courses from the theory-test database,
// candidate lists from XML) and exports (Excel lists, the two XML forms),
// with their dialogs and the managers of the course, council and unit
// lists; the dialogs are children of the window.
class ImportsAndExports : public QObject
{
    Q_OBJECT

public:
    ImportsAndExports(QWidget *window, BusinessController *businessController, CustomerBox &notice);

    ExportStudentsDialog *exportStudentsDialog() const { return m_exportStudentsDialog; }
    ImportAgainDialog *importAgainDialog() const { return m_importAgainDialog; }
    ImportInfosDialog *importInfosDialog() const { return m_importInfosDialog; }
    ImportXmlDialog *importXmlDialog() const { return m_importXmlDialog; }
    ManageCourseDialog *manageCourseDialog() const { return m_manageCourseDialog; }

    void showCourseManager();
    void showProvinceManager();
    void showUnitManager();

    // An import that stores candidates reads the course list again and
    // emits courseListChanged.
    void showAuxiliaryCourses();
    void importAuxiliaryCourse(int index);
    void showXmlImport();
    // The XML import dialog closed with `result`.
    void importXmlResult(int result);
    // The candidate list last read, stored into the course chosen again.
    void confirmImportXml();

    // Reads the theory results now and says how many candidates changed.
    void updateTheoryResults();
    void reloadCourse(const QString &courseId);

    // The courses the export dialog offers.
    void setExportCourses(const QList<Course *> &courses);
    // mode: one of ExportStudentsDialog's modes.
    void showExportDialog(int mode);
    // Each export takes a position of the export dialog's list.
    void exportCourseExcel(int index);
    void exportPassedExcel(int index);
    void exportFailedExcel(int index);
    void exportAbsentExcel(int index);
    void exportXml(int index);
    void exportKQSHMPXml(int index);

signals:
    void courseListChanged();

private:
    static const int SUMMARY_REPORT = -1;

    void showNotice(const QString &title, const QString &content);
    void importCourseFromXml(const QString &courseId, const QString &filePath);
    // The import's outcome, then the course list read again and announced.
    void afterImport(const QPair<int, int> &result, const QString &courseId);
    // The course at `index` of the export dialog's list; empty outside it.
    QString exportCourseIdAt(int index);
    // kind: SUMMARY_REPORT, or the classified report's type (1 passed,
    // 0 failed, 2 absent); a failure names the file.
    void exportExcelReport(int index, bool (BusinessController::*report)(const QString &), int kind,
                           const QString &what);
    void exportXmlForm(int index, bool secondForm);

    QWidget *m_window;
    BusinessController *m_businessController;
    CustomerBox &m_notice;
    ExportStudentsDialog *m_exportStudentsDialog;
    ImportAgainDialog *m_importAgainDialog;
    ImportInfosDialog *m_importInfosDialog;
    ImportXmlDialog *m_importXmlDialog;
    ManageCourseDialog *m_manageCourseDialog;
    ManageProvinceDialog *m_manageProvinceDialog;
    ManageUnitDialog *m_manageUnitDialog;
    // The candidate list last read by an XML import.
    QDomDocument m_xmlDocument;
};

#endif // ORV_UI_MAINWINDOW_IMPORTSANDEXPORTS_H
