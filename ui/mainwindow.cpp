#include "ui/mainwindow.h"

#include "common/constants.h"
#include "records/course.h"
#include "reports/print/printdialog.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/business/serverrun.h"
#include "ui/aboutdialog.h"
#include "ui/addstudentdialog.h"
#include "ui/configdialog.h"
#include "ui/confirmdialog.h"
#include "ui/exportstudentsdialog.h"
#include "ui/importagaindialog.h"
#include "ui/importinfosdialog.h"
#include "ui/importxmldialog.h"
#include "ui/inforesetdialog.h"
#include "ui/mainwindow/autoprinter.h"
#include "ui/mainwindow/candidateactions.h"
#include "ui/mainwindow/candidateviews.h"
#include "ui/mainwindow/importsandexports.h"
#include "ui/managecoursedialog.h"
#include "ui/testauxiliarydb.h"
#include "ui/testmaindb.h"

#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDebug>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <limits>

namespace {

// The longest a terminal's start or result waits before the grid and the
// counters show it (a refresh's own time comes on top).
const int TERMINAL_REFRESH_MS = 200;

} // namespace

MainWindow::MainWindow(QWidget *parent, int printPeriodMs) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    // The form first: its slots bind by name to the first matching
    // descendant, so no child dialog may exist yet.
    ui->setupUi(this);
    // Title bar with minimise and maximise only: the exit menu is the way out.
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);

    // Brings the server up: the listener, the databases, the candidate model.
    m_businessController = BusinessController::getInstance();
    m_businessControllerClient = BusinessControllerClient::getInstance();

    // The dialogs: created once, reused, children of this window.
    m_aboutDialog = new AboutDialog(this);
    m_testAuxiliaryDb = new TestAuxiliaryDb(this);
    m_testMainDb = new TestMainDb(this);
    m_configDialog = new ConfigDialog(this, m_businessController->getAutoPrint(),
                                      m_businessController->getTimeUpdateTheoryResult(),
                                      m_businessController->getCheckPassingTheoryExam());

    // Imports, exports and the course, council and unit lists.
    m_importsAndExports = std::make_unique<ImportsAndExports>(this, m_businessController, m_customerBox);
    ExportStudentsDialog *exports = m_importsAndExports->exportStudentsDialog();
    connect(exports, &ExportStudentsDialog::notifyExportXml, this, &MainWindow::on_exportXml);
    connect(exports, &ExportStudentsDialog::notifyExportKQSHMPXml, this, &MainWindow::on_exportKQSHMPXml);
    connect(exports, &ExportStudentsDialog::notifyExportExcel, this, &MainWindow::on_exportExcel);
    connect(exports, &ExportStudentsDialog::notifyExportPassedStudentsExcel, this,
            &MainWindow::on_exportPassedStudents);
    connect(exports, &ExportStudentsDialog::notifyExportFailedStudentsExcel, this,
            &MainWindow::on_exportFailedStudents);
    connect(exports, &ExportStudentsDialog::notifyExportAbsentStudentsExcel, this,
            &MainWindow::on_exportAbsentStudents);
    connect(m_importsAndExports->importInfosDialog(), &ImportInfosDialog::notifyImportCourse, this,
            &MainWindow::onImportCourse);
    connect(m_importsAndExports->importAgainDialog(), &ImportAgainDialog::confirmImportXml, this,
            &MainWindow::onConfirmImportXml);
    connect(m_importsAndExports->importXmlDialog(), &QDialog::finished, this, &MainWindow::on_ProcessImporXmlResult);
    connect(m_businessController, &BusinessController::notifyUpdateResultTheoryInUI, this,
            &MainWindow::onUpdateResultTheoryInUI);
    // An import that stored candidates has read the course list again.
    connect(m_importsAndExports.get(), &ImportsAndExports::courseListChanged, this, &MainWindow::initialCourseCmb);

    // The course and candidate views, the candidate dialogs and automatic
    // printing.
    m_candidateViews = std::make_unique<CandidateViews>(this, ui, m_businessController, m_businessControllerClient,
                                                        m_customerBox);
    m_candidateActions = std::make_unique<CandidateActions>(this, ui, m_businessController,
                                                            m_candidateViews->proxyModel(), m_customerBox);
    m_autoPrinter = std::make_unique<AutoPrinter>(m_businessController, m_businessControllerClient, printPeriodMs);
    connect(ui->studentView, &QWidget::customContextMenuRequested, this, &MainWindow::on_tableViewMouseEvent);
    // A terminal's start or result reaches its table row at once; the grid
    // and the counters, read again from the database, follow once per
    // burst: a room finishing together stores a result every handler cycle,
    // faster than a refresh takes, and a refresh per result kept the window
    // from answering for seconds. The timer is not restarted by the results
    // that come meanwhile, so none waits longer than its interval.
    m_terminalRefresh.setSingleShot(true);
    m_terminalRefresh.setInterval(TERMINAL_REFRESH_MS);
    connect(&m_terminalRefresh, &QTimer::timeout, this, &MainWindow::on_refreshGui);
    connect(m_businessController, &BusinessController::notifyUpdateCourseInfo, &m_terminalRefresh,
            [this]() {
                if (!m_terminalRefresh.isActive())
                    m_terminalRefresh.start();
            });
    connect(m_candidateActions->infoResetDialog(), &InfoResetDialog::confirmResetAccount, this,
            &MainWindow::onConfirmResetAccount);
    connect(m_candidateActions->confirmDialog(), &QDialog::finished, this, &MainWindow::onProcessConfirmDialog);
    connect(m_candidateActions->addStudentDialog(), &QDialog::finished, this, &MainWindow::onProcessAddDialog);
    connect(m_businessControllerClient, &BusinessControllerClient::notifyUpdateReport, this,
            &MainWindow::onUpdateReport);
    connect(m_autoPrinter->dialog(), &PrintDialog::notifyPrintReport, this, &MainWindow::onPrintReport);
    connect(m_candidateActions.get(), &CandidateActions::candidatesChanged, this, &MainWindow::on_refreshGui);
    // A reset changes the counters as much as the room grid.
    connect(m_candidateActions.get(), &CandidateActions::roomGridChanged, this, &MainWindow::on_refreshGui);
    // The database answers again after an outage.
    connect(m_candidateViews->outage(), &DatabaseOutage::refreshRequested, this, &MainWindow::on_refreshGui);
    connect(ui->startingCourseView, &QAbstractItemView::doubleClicked, this,
            &MainWindow::onDoubleClickedStartingCourse);
    ManageCourseDialog *courses = m_importsAndExports->manageCourseDialog();
    connect(courses, &ManageCourseDialog::notifyChangeStartingCourse, this, &MainWindow::onChangeStartingCourse);
    connect(courses, &ManageCourseDialog::notifyRemoveCourse, this, &MainWindow::initialCourseCmb);
    m_autoPrinter->start();

    connect(this, &MainWindow::notifyUpdateResultOfFriendDB, this, &MainWindow::onUpdateResultOfFriendDB);
    connect(m_configDialog, &ConfigDialog::notifyUpdateConfig, m_businessController,
            &BusinessController::onUpdateConfig);

    // Background loops.
    const int refreshSeconds = m_businessController->getTimeUpdateTheoryResult();
    if (refreshSeconds >= 1)
        startTheoryRefreshLoop(refreshSeconds);

    m_autoPrinter->clearPdfFolder();
}

MainWindow::~MainWindow()
{
    // The loops emit to this window: they go before anything it owns.
    m_theoryRefreshThread.requestStop();
    m_theoryRefreshThread.join();
    // Joins the automatic-printing notifier.
    m_autoPrinter.reset();

    // The listener, the terminals, the replay and the terminals' sessions.
    ServerRun::stop();
    delete ui;
}

void MainWindow::startTheoryRefreshLoop(int seconds)
{
    // An interval beyond the wait's range waits as long as it can.
    const int waitMs = seconds > std::numeric_limits<int>::max() / 1000
        ? std::numeric_limits<int>::max()
        : seconds * 1000;
    const bool started = m_theoryRefreshThread.start([this, waitMs]() {
        while (!m_theoryRefreshThread.waitForStop(waitMs))
            emit notifyUpdateResultOfFriendDB();
    });
    if (!started)
        qDebug() << "Can not create the theory result refresh thread";
}

void MainWindow::initModel()
{
    qInfo() << LOG_ENTER_FUNCTION;
    initialCourseCmb();
    m_candidateViews->showStartingCourses();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::showMainWindow()
{
    qInfo() << LOG_ENTER_FUNCTION;
    showMaximized();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    qInfo() << LOG_ENTER_FUNCTION;
    event->ignore();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::exitProgram()
{
    QApplication::closeAllWindows();
    QTimer::singleShot(0, qApp, []() { QCoreApplication::exit(0); });
}

void MainWindow::on_actionExit_triggered()
{
    qInfo() << LOG_ENTER_FUNCTION;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Cảnh báo"),
        "Tắt chương trình sẽ mất kết nối và không lưu được kết quả các máy đang thi. Bạn có chắc "
        "chắn muốn thoát không?",
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        exitProgram();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionInfo_triggered()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_aboutDialog->setTitle(ADMIN_SOFTWARE_TITLE);
    m_aboutDialog->setModal(true);
    m_aboutDialog->show();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionConfigSystemFunction_triggered()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_configDialog->showDialog();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionTestAuxiliaryDbConnection_triggered()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_testAuxiliaryDb->showConnectionInfo();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionTestMainDbConnection_triggered()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_testMainDb->showConnectionInfo();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onUpdateResultOfFriendDB()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_businessController->updateResultOfFriendDB();
    qInfo() << LOG_FINISH_FUNCTION;
}

// ------------------------------------------------ course, council and unit lists

void MainWindow::on_actionCourseList_triggered() { m_importsAndExports->showCourseManager(); }
void MainWindow::on_actionProvince_triggered() { m_importsAndExports->showProvinceManager(); }
void MainWindow::on_actionUnit_triggered() { m_importsAndExports->showUnitManager(); }

// ------------------------------------------------------ imports and exports

void MainWindow::on_actionAuxDb_triggered() { m_importsAndExports->showAuxiliaryCourses(); }
void MainWindow::onImportCourse(int index) { m_importsAndExports->importAuxiliaryCourse(index); }
void MainWindow::on_actionImport_XML_triggered() { m_importsAndExports->showXmlImport(); }
void MainWindow::on_ProcessImporXmlResult(int result) { m_importsAndExports->importXmlResult(result); }
void MainWindow::onConfirmImportXml() { m_importsAndExports->confirmImportXml(); }
void MainWindow::on_actionCapNhatKetQuaSHLyThuyet_triggered() { m_importsAndExports->updateTheoryResults(); }
void MainWindow::onUpdateResultTheoryInUI(QString courseId) { m_importsAndExports->reloadCourse(courseId); }

void MainWindow::on_actionExport_XML_triggered()
{
    m_importsAndExports->showExportDialog(ExportStudentsDialog::ModeXml);
}

void MainWindow::on_actionExportExcel_triggered()
{
    m_importsAndExports->showExportDialog(ExportStudentsDialog::ModeExcel);
}

void MainWindow::on_actionExportPassedStudents_excel_triggered()
{
    m_importsAndExports->showExportDialog(ExportStudentsDialog::ModePassedExcel);
}

void MainWindow::on_actionExportFailedStudents_excel_triggered()
{
    m_importsAndExports->showExportDialog(ExportStudentsDialog::ModeFailedExcel);
}

void MainWindow::on_actionExportAbsentStudents_excel_triggered()
{
    m_importsAndExports->showExportDialog(ExportStudentsDialog::ModeAbsentExcel);
}

void MainWindow::on_actionKQSHMPXML_triggered()
{
    m_importsAndExports->showExportDialog(ExportStudentsDialog::ModeKQSHMPXml);
}

void MainWindow::on_exportXml(int index) { m_importsAndExports->exportXml(index); }
void MainWindow::on_exportKQSHMPXml(int index) { m_importsAndExports->exportKQSHMPXml(index); }
void MainWindow::on_exportExcel(int index) { m_importsAndExports->exportCourseExcel(index); }
void MainWindow::on_exportPassedStudents(int index) { m_importsAndExports->exportPassedExcel(index); }
void MainWindow::on_exportFailedStudents(int index) { m_importsAndExports->exportFailedExcel(index); }
void MainWindow::on_exportAbsentStudents(int index) { m_importsAndExports->exportAbsentExcel(index); }

// ------------------------------------------------- course and candidate views

void MainWindow::initialCourseCmb()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_importsAndExports->setExportCourses(m_candidateViews->listCourses());
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_cmbCourse_currentIndexChanged(int)
{
    qInfo() << LOG_ENTER_FUNCTION;
    const QString courseCode = m_candidateViews->chooseCourse();
    on_refreshGui();
    m_candidateViews->loadStudentsOfCourse(courseCode);
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onDoubleClickedStartingCourse(const QModelIndex &index)
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_candidateViews->chooseStartingCourse(index);
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onChangeStartingCourse()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_candidateViews->reloadStartingCourses();
    initialCourseCmb();
    onRefreshContestStudentList();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onAddContestStudentList(QList<Course> courses) { m_candidateViews->addRoomGrid(courses); }
void MainWindow::onRemoveContestStudentList() { m_candidateViews->clearRoomGrid(); }
void MainWindow::onRefreshContestStudentList() { m_candidateViews->refreshRoomGrid(); }

void MainWindow::on_refreshGui()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_candidateViews->refreshGridAndCounters();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_updateStudentTable()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_candidateViews->repaintTable();
    on_refreshGui();
    qInfo() << LOG_FINISH_FUNCTION;
}

// ------------------------------------------------------- candidate actions
// An action that finds nothing to act on ends without the exit marker.

void MainWindow::on_btnAdd_clicked()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_candidateActions->openAdd();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_btnEdit_clicked()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (!m_candidateActions->openEdit())
        return;
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_btnDelete_clicked()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (!m_candidateActions->openRemove())
        return;
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onProcessAddDialog()
{
    qInfo() << LOG_ENTER_FUNCTION;
    const CandidateActions::Request request = m_candidateActions->addDialogRequest();
    if (request == CandidateActions::EditRequest)
        onEditContestant();
    else if (request == CandidateActions::AddRequest)
        onAddContestant();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onProcessConfirmDialog()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (m_candidateActions->confirmDialogRequest() == CandidateActions::RemoveRequest)
        onRemoveContestant();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onAddContestant()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_candidateActions->addContestant();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onEditContestant()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (!m_candidateActions->editContestant())
        return;
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onRemoveContestant()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (!m_candidateActions->removeContestant())
        return;
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_resetAccount()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (!m_candidateActions->openReset())
        return;
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onConfirmResetAccount(QString comment)
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (!m_candidateActions->resetContestant(comment))
        return;
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_tableViewMouseEvent(const QPoint &)
{
    qInfo() << LOG_ENTER_FUNCTION;
    QMenu menu("Context menu", this);
    menu.addAction("In kết quả", this, &MainWindow::onPrintProcess);
    menu.addAction("Thiết lập lại", this, &MainWindow::on_resetAccount);
    menu.exec(QCursor::pos());
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onPrintProcess()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (!m_candidateActions->openPreview())
        return;
    qInfo() << LOG_FINISH_FUNCTION;
}

// --------------------------------------------------------- automatic printing

void MainWindow::onUpdateReport(quint64 idClient, int id, QString contestCode)
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_autoPrinter->updateReport(idClient, id, contestCode);
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onPrintReport(int index)
{
    qInfo() << LOG_ENTER_FUNCTION;
    // A sheet no longer there ends without the exit marker.
    if (!m_autoPrinter->printReport(index))
        return;
    qInfo() << LOG_FINISH_FUNCTION;
}
