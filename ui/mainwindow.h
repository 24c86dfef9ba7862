#ifndef ORV_UI_MAINWINDOW_H
#define ORV_UI_MAINWINDOW_H

#include "platform/thread.h"
#include "records/course.h"
#include "ui/customerbox.h"

#include <QDomDocument>
#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

class AboutDialog;
class AddStudentDialog;
class BusinessController;
class BusinessControllerClient;
class ConfigDialog;
class ConfirmDialog;
class ExportStudentsDialog;
class ImportAgainDialog;
class ImportInfosDialog;
class ImportXmlDialog;
class InfoResetDialog;
class ManageCourseDialog;
class ManageProvinceDialog;
class ManageUnitDialog;
class PrintDialog;
class ProxyStudentInfoModel;
class QCloseEvent;
class QGridLayout;
class QModelIndex;
class QPoint;
class StartingCourseModel;
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
    // printPeriodMs: the shortest time between two automatic result sheets.
    explicit MainWindow(QWidget *parent = nullptr, int printPeriodMs = 10000);
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

    // Course and candidate views.
    void initialCourseCmb();
    void on_refreshGui();
    void on_cmbCourse_currentIndexChanged(int index);
    void onDoubleClickedStartingCourse(const QModelIndex &index);
    void onChangeStartingCourse();
    void onAddContestStudentList(QList<Course> courses);
    void onRemoveContestStudentList();
    void onRefreshContestStudentList();
    void on_updateStudentTable();

    // Candidate operations and printing.
    void on_btnAdd_clicked();
    void on_btnEdit_clicked();
    void on_btnDelete_clicked();
    void onProcessAddDialog();
    void onProcessConfirmDialog();
    void onAddContestant();
    void onEditContestant();
    void onRemoveContestant();
    void on_resetAccount();
    void onConfirmResetAccount(QString comment);
    void on_tableViewMouseEvent(const QPoint &pos);
    void onPrintProcess();
    void onUpdateReport(quint64 idClient, int id, QString contestCode);
    void onPrintReport(int index);

    // Imports, exports and the course, council and unit lists.
    void on_actionCourseList_triggered();
    void on_actionProvince_triggered();
    void on_actionUnit_triggered();
    void on_actionAuxDb_triggered();
    void onImportCourse(int index);
    void on_actionImport_XML_triggered();
    void on_ProcessImporXmlResult(int result);
    void onConfirmImportXml();
    void on_actionCapNhatKetQuaSHLyThuyet_triggered();
    void onUpdateResultTheoryInUI(QString courseId);
    void on_actionExport_XML_triggered();
    void on_actionExportExcel_triggered();
    void on_actionExportPassedStudents_excel_triggered();
    void on_actionExportFailedStudents_excel_triggered();
    void on_actionExportAbsentStudents_excel_triggered();
    void on_actionKQSHMPXML_triggered();
    void on_exportXml(int index);
    void on_exportKQSHMPXml(int index);
    void on_exportExcel(int index);
    void on_exportPassedStudents(int index);
    void on_exportFailedStudents(int index);
    void on_exportAbsentStudents(int index);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startTheoryRefreshLoop(int seconds);
    void clearPdfFolder();

    // Course and candidate views, candidate operations and printing.
    void setUpCandidateViews();
    // The StudentModel row of studentView's selection, -1 when nothing is
    // selected.
    int selectedModelRow() const;
    // The entry id of studentView's selection, -1 when nothing is selected.
    int selectedId() const;
    // The StudentModel row now showing entry `id`, -1 when none.
    int modelRowOf(int id) const;

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

    // The room grid's running courses and, for each, the order numbers in
    // the room; false when they could not be read.
    bool readCourseGrid(QList<Course> *courses, QList<QStringList> *inRoom);
    void fillCourseGrid(const QList<Course> &courses, const QList<QStringList> &inRoom);
    // The database is away: told once per outage, what is shown stays, and
    // the window reads again until the database answers.
    void onDatabaseUnreachable();
    void onDatabaseReachable();
    void refreshAfterOutage();

    Ui::MainWindow *ui;
    BusinessController *m_businessController = nullptr;
    CustomerBox m_customerBox;
    // The operator has been told of the outage under way.
    bool m_outageNoticed = false;
    QTimer m_outageRefresh;
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

    // Course and candidate views, candidate operations and printing.
    std::unique_ptr<PrintDialog> m_printDialog;
    // Automatic result sheets; its notifier is stopped first on the way out.
    std::unique_ptr<PrintDialog> m_autoPrintDialog;
    ProxyStudentInfoModel *m_proxyModel = nullptr;
    InfoResetDialog *m_infoResetDialog = nullptr;
    AddStudentDialog *m_addStudentDialog = nullptr;
    StartingCourseModel *m_startingCourseModel = nullptr;
    QGridLayout *m_courseGrid = nullptr;
    // The candidates the open edit, delete and reset dialogs were opened
    // for: a table reload while a dialog is open must not move its action to
    // another candidate. -1 for none.
    int m_editId = -1;
    int m_removeId = -1;
    int m_resetId = -1;
    // Emits notifyUpdateResultOfFriendDB every n seconds until stopped.
    Thread m_theoryRefreshThread;
};

#endif // ORV_UI_MAINWINDOW_H
