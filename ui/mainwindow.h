#ifndef ORV_UI_MAINWINDOW_H
#define ORV_UI_MAINWINDOW_H

#include "platform/thread.h"
#include "ui/customerbox.h"

#include <QDomDocument>
#include <QMainWindow>
#include <QPair>
#include <QString>

class AboutDialog;
class BusinessController;
class BusinessControllerClient;
class ConfigDialog;
class ConfirmDialog;
class ExportStudentsDialog;
class ImportAgainDialog;
class ImportInfosDialog;
class ImportXmlDialog;
class ManageCourseDialog;
class ManageProvinceDialog;
class ManageUnitDialog;
class QCloseEvent;
class TestAuxiliaryDb;
class TestMainDb;

namespace Ui {
class MainWindow;
}

// The operator's working window of the exam server. Its constructor brings
// the server up (the business controllers, and with them the listener and
// the databases); the window stays until the exit menu, and its destructor
// closes every terminal connection.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    // Stops and joins the background loops first, then closes the listener
    // and every terminal connection.
    ~MainWindow() override;

    void initModel();
    void showMainWindow();
    // What the exit menu's Yes does: close every window and end the event
    // loop with status 0. Also the way out for SIGINT and SIGTERM.
    static void exitProgram();

signals:
    void notifySignoutAdmin();
    void notifyUpdateAllStudentTable();
    void notifyUpdateResultOfFriendDB();

private slots:
    void on_actionInfo_triggered();
    void on_actionTestAuxiliaryDbConnection_triggered();
    void onUpdateResultOfFriendDB();
    void on_actionTestMainDbConnection_triggered();
    void on_actionConfigSystemFunction_triggered();
    void on_actionExit_triggered();

    // Imports, exports and the course, council and unit lists.
    void on_actionCourseList_triggered();
    void on_actionProvince_triggered();
    void on_actionUnit_triggered();
    void on_actionAuxDb_triggered();
    void onImportCourse(int index);
    void on_actionImport_XML_triggered();
    void onProcessImportXmlResult(int result);
    void onConfirmImportXml();
    void on_actionCapNhatKetQuaSHLyThuyet_triggered();
    void onUpdateResultTheoryInUI(QString courseId);
    void on_actionExport_XML_triggered();
    void on_actionExportExcel_triggered();
    void on_actionExportPassedStudents_excel_triggered();
    void on_actionExportFailedStudents_excel_triggered();
    void on_actionExportAbsentStudents_excel_triggered();
    void on_actionKQSHMPXML_triggered();
    void onExportXml(int index);
    void onExportKQSHMPXml(int index);
    void onExportExcel(int index);
    void onExportPassedStudents(int index);
    void onExportFailedStudents(int index);
    void onExportAbsentStudents(int index);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startTheoryRefreshLoop(int seconds);
    void clearPdfFolder();

    // Imports, exports and the course, council and unit lists.
    void setUpImportsAndExports();
    void onImportCourseFromXml(const QString &courseId, const QString &filePath);
    // The import's outcome, then the course list read again.
    void afterImport(const QPair<int, int> &result, const QString &courseId);
    void showNotice(const QString &title, const QString &content);
    void showExportDialog(int mode);
    // The course at `index` of the export dialog's list; empty outside it.
    QString exportCourseIdAt(int index);
    void exportExcelReport(int index, bool (BusinessController::*report)(const QString &),
                           const QString &what);
    void exportXmlForm(int index, bool secondForm);

    Ui::MainWindow *ui;
    BusinessController *m_businessController = nullptr;
    CustomerBox m_customerBox;
    AboutDialog *m_aboutDialog = nullptr;
    ConfirmDialog *m_confirmDialog = nullptr;
    TestAuxiliaryDb *m_testAuxiliaryDb = nullptr;
    TestMainDb *m_testMainDb = nullptr;
    ConfigDialog *m_configDialog = nullptr;
    // Imports, exports and the course, council and unit lists.
    ExportStudentsDialog *m_exportStudentsDialog = nullptr;
    ImportAgainDialog *m_importAgainDialog = nullptr;
    ImportInfosDialog *m_importInfosDialog = nullptr;
    ImportXmlDialog *m_importXmlDialog = nullptr;
    ManageCourseDialog *m_manageCourseDialog = nullptr;
    ManageProvinceDialog *m_manageProvinceDialog = nullptr;
    ManageUnitDialog *m_manageUnitDialog = nullptr;
    // The candidate list last read by an XML import.
    QDomDocument m_xmlDocument;
    BusinessControllerClient *m_businessControllerClient = nullptr;
    // Emits notifyUpdateResultOfFriendDB every n seconds until stopped.
    Thread m_theoryRefreshThread;
};

#endif // ORV_UI_MAINWINDOW_H
