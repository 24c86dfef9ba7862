#ifndef ORV_UI_MAINWINDOW_H
#define ORV_UI_MAINWINDOW_H

#include "platform/thread.h"
#include "records/course.h"
#include "ui/customerbox.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <memory>

class AboutDialog;
class AutoPrinter;
class BusinessController;
class BusinessControllerClient;
class CandidateActions;
class CandidateViews;
class ConfigDialog;
class ImportsAndExports;
class QCloseEvent;
class QModelIndex;
class QPoint;
class TestAuxiliaryDb;
class TestMainDb;

namespace Ui {
class MainWindow;
}

// The operator's working window of the exam server. Its constructor brings
// the server up (the business controllers, and with them the listener and
// the databases); the window stays until the exit menu, and its destructor
// closes every terminal connection. The window holds the menus, the
// refresh loop and the slots; each slot hands its work to one of the parts
// in ui/mainwindow/.
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

    Ui::MainWindow *ui;
    BusinessController *m_businessController = nullptr;
    CustomerBox m_customerBox;
    AboutDialog *m_aboutDialog = nullptr;
    TestAuxiliaryDb *m_testAuxiliaryDb = nullptr;
    TestMainDb *m_testMainDb = nullptr;
    ConfigDialog *m_configDialog = nullptr;
    BusinessControllerClient *m_businessControllerClient = nullptr;
    // The parts: their dialogs are children of this window; they share its
    // notice box, which outlives them.
    std::unique_ptr<ImportsAndExports> m_importsAndExports;
    std::unique_ptr<CandidateViews> m_candidateViews;
    std::unique_ptr<CandidateActions> m_candidateActions;
    // Its notifier is stopped first on the way out.
    std::unique_ptr<AutoPrinter> m_autoPrinter;
    // Emits notifyUpdateResultOfFriendDB every n seconds until stopped.
    Thread m_theoryRefreshThread;
    // Gathers the terminals' starts and results into one refresh of the
    // grid and the counters.
    QTimer m_terminalRefresh;
};

#endif // ORV_UI_MAINWINDOW_H
