#include "ui/mainwindow.h"

#include "common/constants.h"
#include "connection/databasestatus.h"
#include "connection/mysqlconnection.h"
#include "connection/sqlfailurewatch.h"
#include "records/course.h"
#include "reports/exports/xmlutility.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/network/iocontroller.h"
#include "ui/aboutdialog.h"
#include "ui/configdialog.h"
#include "ui/elidedbutton.h"
#include "ui/confirmdialog.h"
#include "ui/exportstudentsdialog.h"
#include "ui/importagaindialog.h"
#include "ui/importinfosdialog.h"
#include "ui/importxmldialog.h"
#include "ui/managecoursedialog.h"
#include "ui/manageprovincedialog.h"
#include "ui/manageunitdialog.h"
#include "ui/testauxiliarydb.h"
#include "ui/testmaindb.h"

#include "lib/report/reportengine.h"
#include "records/coursereportsummary.h"
#include "records/crudstudentinfo.h"
#include "records/reportinfo.h"
#include "records/sqlresultinfo.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "reports/print/printdialog.h"
#include "ui/addstudentdialog.h"
#include "ui/autopdffilename.h"
#include "ui/inforesetdialog.h"
#include "models/proxystudentinfomodel.h"
#include "models/startingcoursemodel.h"
#include "models/studentmodel.h"

#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>
#include <QTextStream>
#include <QTimer>
#include <QUrl>

#include <limits>

namespace {

// Within 10 s of the database's return the window shows what it holds.
const int OUTAGE_REFRESH_MS = 5000;

} // namespace

MainWindow::MainWindow(QWidget *parent, int printPeriodMs)
    : QMainWindow(parent), ui(new Ui::MainWindow), m_printDialog(new PrintDialog()),
      m_autoPrintDialog(new PrintDialog(nullptr, printPeriodMs))
{
    // The form first: its slots bind by name to the first matching
    // descendant, so no child dialog may exist yet.
    ui->setupUi(this);
    // Title bar with minimise and maximise only: the exit menu is the way out.
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);

    // Brings the server up: the listener, the databases, the candidate model.
    m_businessController = BusinessController::getInstance();
    m_businessControllerClient = BusinessControllerClient::getInstance();

    ui->leSearch->setClearButtonEnabled(true);
    ui->leSearch->addAction(QIcon(":/icon/resources/icon/search.svg"), QLineEdit::TrailingPosition);

    // The dialogs: created once, reused, children of this window.
    m_aboutDialog = new AboutDialog(this);
    m_confirmDialog = new ConfirmDialog(this);
    m_testAuxiliaryDb = new TestAuxiliaryDb(this);
    m_testMainDb = new TestMainDb(this);
    m_configDialog = new ConfigDialog(this, m_businessController->getAutoPrint(),
                                      m_businessController->getTimeUpdateTheoryResult(),
                                      m_businessController->getCheckPassingTheoryExam());

    // Imports, exports and the course, council and unit lists.
    setUpImportsAndExports();

    // The course and candidate views, the candidate dialogs and automatic
    // printing.
    setUpCandidateViews();

    // Connections.
    connect(this, &MainWindow::notifyUpdateResultOfFriendDB, this,
            &MainWindow::onUpdateResultOfFriendDB);
    connect(m_configDialog, &ConfigDialog::notifyUpdateConfig, m_businessController,
            &BusinessController::onUpdateConfig);

    // An outage of the database: told once, then read again every few
    // seconds until it answers, and at once when a statement succeeds.
    m_outageRefresh.setInterval(OUTAGE_REFRESH_MS);
    connect(&m_outageRefresh, &QTimer::timeout, this, &MainWindow::refreshAfterOutage);
    connect(DatabaseStatus::instance(), &DatabaseStatus::reachable, this, &MainWindow::onDatabaseReachable,
            Qt::QueuedConnection);
    connect(m_businessControllerClient, &BusinessControllerClient::notifyWriteKept, this,
            &MainWindow::onDatabaseUnreachable, Qt::QueuedConnection);

    // Background loops.
    const int refreshSeconds = m_businessController->getTimeUpdateTheoryResult();
    if (refreshSeconds >= 1)
        startTheoryRefreshLoop(refreshSeconds);

    clearPdfFolder();
}

MainWindow::~MainWindow()
{
    // The loops emit to this window: they go before anything it owns.
    m_theoryRefreshThread.requestStop();
    m_theoryRefreshThread.join();
    // Joins the automatic-printing notifier.
    m_autoPrintDialog.reset();

    IOController::destroyInstance();
    // No terminal sends any more: what is not stored stays in the journal.
    m_businessControllerClient->stopRetries();
    // The listener closed the terminals without a word to the business
    // logic: their database sessions end now, not with the process.
    m_businessControllerClient->closeTerminalConnections();
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

void MainWindow::clearPdfFolder()
{
    const QDir folder(PDF_FOLDER);
    if (!folder.exists())
        return;
    const QStringList files = folder.entryList({"*.*"}, QDir::Files, QDir::NoSort);
    for (const QString &name : files)
        QFile::remove(PDF_FOLDER + "/" + name);
}

void MainWindow::initModel()
{
    qInfo() << LOG_ENTER_FUNCTION;
    initialCourseCmb();
    const QList<Course> starting = m_businessController->getStartingCourses();
    m_startingCourseModel->setCourseList(starting);
    ui->startingCourseView->setModel(m_startingCourseModel);
    ui->startingCourseView->setColumnWidth(0, ui->startingCourseView->width());
    ui->startingCourseView->horizontalHeader()->setStretchLastSection(true);
    // Filling the course combo has already built the grid once.
    onRemoveContestStudentList();
    onAddContestStudentList(starting);
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

void MainWindow::setUpImportsAndExports()
{
    m_exportStudentsDialog = new ExportStudentsDialog(this);
    m_importAgainDialog = new ImportAgainDialog(this);
    m_importInfosDialog = new ImportInfosDialog(this);
    m_importXmlDialog = new ImportXmlDialog(this);
    m_manageCourseDialog = new ManageCourseDialog(this);
    m_manageProvinceDialog = new ManageProvinceDialog(this);
    m_manageUnitDialog = new ManageUnitDialog(this);

    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportXml, this, &MainWindow::on_exportXml);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportKQSHMPXml, this,
            &MainWindow::on_exportKQSHMPXml);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportExcel, this,
            &MainWindow::on_exportExcel);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportPassedStudentsExcel, this,
            &MainWindow::on_exportPassedStudents);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportFailedStudentsExcel, this,
            &MainWindow::on_exportFailedStudents);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportAbsentStudentsExcel, this,
            &MainWindow::on_exportAbsentStudents);
    connect(m_importInfosDialog, &ImportInfosDialog::notifyImportCourse, this, &MainWindow::onImportCourse);
    connect(m_importAgainDialog, &ImportAgainDialog::confirmImportXml, this, &MainWindow::onConfirmImportXml);
    connect(m_importXmlDialog, &QDialog::finished, this, &MainWindow::on_ProcessImporXmlResult);
    connect(m_businessController, &BusinessController::notifyUpdateResultTheoryInUI, this,
            &MainWindow::onUpdateResultTheoryInUI);
    connect(m_businessController, &BusinessController::notifyImportCourseFromDb, m_manageCourseDialog,
            &ManageCourseDialog::onInsertCouserFromDB);
    connect(m_businessController, &BusinessController::notifyImportProvinceFromDb, m_manageProvinceDialog,
            &ManageProvinceDialog::onInsertProvinceFromDB);
    connect(m_businessController, &BusinessController::notifyImportUnitFromDb, m_manageUnitDialog,
            &ManageUnitDialog::onInsertUnitFromDB);
}

void MainWindow::on_actionCourseList_triggered()
{
    m_manageCourseDialog->showDialog();
}

void MainWindow::on_actionProvince_triggered()
{
    m_manageProvinceDialog->showDialog();
}

void MainWindow::on_actionUnit_triggered()
{
    m_manageUnitDialog->showDialog();
}

// ------------------------------------------------------ imports and exports

void MainWindow::showNotice(const QString &title, const QString &content)
{
    m_customerBox.setTitle(title);
    m_customerBox.setContent(content);
    m_customerBox.setModal(true);
    m_customerBox.show();
}

void MainWindow::afterImport(const QPair<int, int> &result, const QString &courseId)
{
    showNotice(QStringLiteral("Thông tin"),
               QStringLiteral("Đã nhập thành công %1/%2 học viên của khóa thi ")
                       .arg(result.first)
                       .arg(result.second)
                   + courseId);
    // The course list is read again in place: the course manager's table is
    // reset around it, so no view keeps a deleted course.
    m_manageCourseDialog->refreshCourseList();
    initialCourseCmb();
}

void MainWindow::on_actionAuxDb_triggered()
{
    const QList<Course *> courses = m_businessController->getAuxiliaryCourses();
    MySqlConnection *mainDb = m_businessController->getMySqlConnection();
    QStringList entries;
    for (const Course *course : courses) {
        const Course stored = mainDb->getCourse(course->getIDKhoaHoc());
        // Only a course that is there counts: an absent one reads empty.
        const bool imported = !stored.getIDKhoaHoc().isEmpty()
            && stored.getTenKhoaHoc() == course->getTenKhoaHoc();
        entries << (imported ? course->getTenKhoaHoc() + QStringLiteral(" [Đã import]")
                             : course->getTenKhoaHoc());
    }
    m_importInfosDialog->setCourses(entries);
    m_importInfosDialog->setModal(true);
    m_importInfosDialog->show();
}

void MainWindow::onImportCourse(int index)
{
    // The list the import dialog showed; an index outside it chooses nothing.
    const QList<Course *> courses = m_businessController->getCachedAuxiliaryCourses();
    if (index < 0 || index >= courses.size())
        return;
    const QString courseId = courses.at(index)->getIDKhoaHoc();
    const QPair<int, int> result = m_businessController->importCourseFromAuxiliaryDb(courseId);
    if (result.first == -1) {
        showNotice(QStringLiteral("Lỗi"), QStringLiteral("Không thể import. Khoá thi ") + courseId
                                              + QStringLiteral(" đã tồn tại trong CSDL mô phỏng"));
        return;
    }
    afterImport(result, courseId);
}

void MainWindow::on_actionImport_XML_triggered()
{
    m_importXmlDialog->showDialog();
}

void MainWindow::on_ProcessImporXmlResult(int result)
{
    if (result != ImportXmlDialog::ImportCode)
        return;
    onImportCourseFromXml(m_importXmlDialog->getCourseCode(), m_importXmlDialog->getXmlPath());
}

void MainWindow::onImportCourseFromXml(const QString &courseId, const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString error;
    int line = 0;
    int column = 0;
    m_xmlDocument = QDomDocument();
    const bool parsed = m_xmlDocument.setContent(&file, &error, &line, &column);
    file.close();
    if (!parsed) {
        // Nothing of a list that does not parse is imported.
        m_xmlDocument = QDomDocument();
        qDebug() << "Candidate list" << filePath << "is not valid XML: line" << line << "column"
                      << column << error;
        showNotice(QStringLiteral("Cảnh báo"),
                   QStringLiteral("Tập tin XML không hợp lệ (dòng %1): ").arg(line) + error);
        return;
    }
    const QPair<QString, QString> first = XmlUtility::getInstance()->getFirstRegistrationCodes(m_xmlDocument);
    if (m_businessController->isStudentInCourse(courseId, first.first, first.second)) {
        showNotice(QStringLiteral("Cảnh báo"), QStringLiteral("Dữ liệu đã có trong khóa học."));
        return;
    }
    afterImport(m_businessController->importCandidatesXml(m_xmlDocument, courseId), courseId);
}

void MainWindow::onConfirmImportXml()
{
    const QString courseId = m_importAgainDialog->getCourseCode();
    afterImport(m_businessController->importCandidatesXml(m_xmlDocument, courseId), courseId);
}

void MainWindow::on_actionCapNhatKetQuaSHLyThuyet_triggered()
{
    const int updated = m_businessController->updateResultOfFriendDB();
    QMessageBox::information(
        this, QStringLiteral("Thông báo"),
        QStringLiteral("Có %1 học viên được cập nhật kết quả thi lý thuyết").arg(updated), QMessageBox::Ok);
}

void MainWindow::onUpdateResultTheoryInUI(QString courseId)
{
    m_businessController->loadStudentsOfCourse(courseId);
}

void MainWindow::showExportDialog(int mode)
{
    m_exportStudentsDialog->setMode(mode);
    m_exportStudentsDialog->setModal(true);
    m_exportStudentsDialog->show();
}

void MainWindow::on_actionExport_XML_triggered()
{
    showExportDialog(ExportStudentsDialog::ModeXml);
}

void MainWindow::on_actionExportExcel_triggered()
{
    showExportDialog(ExportStudentsDialog::ModeExcel);
}

void MainWindow::on_actionExportPassedStudents_excel_triggered()
{
    showExportDialog(ExportStudentsDialog::ModePassedExcel);
}

void MainWindow::on_actionExportFailedStudents_excel_triggered()
{
    showExportDialog(ExportStudentsDialog::ModeFailedExcel);
}

void MainWindow::on_actionExportAbsentStudents_excel_triggered()
{
    showExportDialog(ExportStudentsDialog::ModeAbsentExcel);
}

void MainWindow::on_actionKQSHMPXML_triggered()
{
    showExportDialog(ExportStudentsDialog::ModeKQSHMPXml);
}

QString MainWindow::exportCourseIdAt(int index)
{
    const QList<Course *> *courses = m_businessController->getAllCourses();
    if (index < 0 || index >= courses->size())
        return QString();
    return courses->at(index)->getIDKhoaHoc();
}

void MainWindow::exportExcelReport(int index, bool (BusinessController::*report)(const QString &),
                                   const QString &what)
{
    // The export dialog's positions are those of the course list; one
    // outside it chooses nothing.
    const QString courseId = exportCourseIdAt(index);
    if (courseId.isEmpty())
        return;
    const bool saved = (m_businessController->*report)(courseId);
    showNotice(QStringLiteral("Thông tin"),
               QStringLiteral("Xuất danh sách ") + what
                   + (saved ? QStringLiteral(" thành công") : QStringLiteral(" thất bại")));
}

void MainWindow::on_exportExcel(int index)
{
    exportExcelReport(index, &BusinessController::exportExcel, QStringLiteral("khóa học"));
}

void MainWindow::on_exportPassedStudents(int index)
{
    exportExcelReport(index, &BusinessController::exportPassedStudentsExcel,
                      QStringLiteral("thí sinh ĐẠT của khóa học"));
}

void MainWindow::on_exportFailedStudents(int index)
{
    exportExcelReport(index, &BusinessController::exportFailedStudentsExcel,
                      QStringLiteral("thí sinh TRƯỢT của khóa học"));
}

void MainWindow::on_exportAbsentStudents(int index)
{
    exportExcelReport(index, &BusinessController::exportAbsentStudentsExcel,
                      QStringLiteral("thí sinh VẮNG của khóa học"));
}

void MainWindow::exportXmlForm(int index, bool secondForm)
{
    const QString courseId = exportCourseIdAt(index);
    if (courseId.isEmpty())
        return;
    const QString proposed = secondForm ? courseId + QStringLiteral("_KQSHMP") : courseId;
    const QString path = QFileDialog::getSaveFileName(nullptr, QStringLiteral("Save Xml"), proposed,
                                                      QStringLiteral("Xml files (*.xml)"));
    if (path.isEmpty()) {
        qDebug() << "Error saving XML file.";
        return;
    }
    // A course that cannot be read gives no form: an existing file stays as
    // it was rather than become a form without candidates.
    bool failed = false;
    const QDomDocument document = secondForm ? m_businessController->exportKQSHMPXml(courseId, &failed)
                                             : m_businessController->exportXml(courseId, &failed);
    if (failed) {
        qWarning() << "Error saving XML file." << path << "the course could not be read";
        showNotice(QStringLiteral("Cảnh báo"), QStringLiteral("Export thất bại."));
        return;
    }
    // Written beside the target and put in its place whole, so a failed
    // write leaves no half file and never replaces an older one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qDebug() << "Error saving XML file." << path << file.errorString();
        showNotice(QStringLiteral("Cảnh báo"), QStringLiteral("Export thất bại."));
        return;
    }
    QTextStream stream(&file);
    stream.setCodec("utf-8");
    document.save(stream, 1);
    stream.flush();
    const QString written = QFileInfo(path).absoluteFilePath();
    if (stream.status() != QTextStream::Ok || !file.commit()) {
        qDebug() << "Error saving XML file." << written << file.errorString();
        showNotice(QStringLiteral("Cảnh báo"), QStringLiteral("Export thất bại."));
        return;
    }
    showNotice(QStringLiteral("Cảnh báo"), QStringLiteral("Export thành công."));
    QDesktopServices::openUrl(QUrl::fromLocalFile(written));
}

void MainWindow::on_exportXml(int index)
{
    exportXmlForm(index, false);
}

void MainWindow::on_exportKQSHMPXml(int index)
{
    exportXmlForm(index, true);
}

// ---- Course and candidate views, candidate operations and printing ------

namespace {

// studentView's columns: those of the StudentModel.
enum StudentColumn {
    ColumnId = 0,
    ColumnName = 1,
    ColumnOrderNumber = 2,
    ColumnIdNumber = 3,
    ColumnBirthDate = 4,
    ColumnLicenceClass = 5,
    ColumnResult = 10,
    ColumnGender = 11,
    ColumnContent = 14,
};

// Width of each column, and whether it is hidden; 0 keeps the default.
struct ColumnLayout
{
    int width;
    bool hidden;
};
const ColumnLayout STUDENT_COLUMNS[] = {
    {60, true},   {180, false}, {120, false}, {180, false}, {100, false},
    {130, false}, {160, false}, {160, false}, {120, false}, {150, false},
    {120, false}, {0, true},    {120, false}, {60, true},   {60, true},
};

const int ADD_CODE = 5;
const int EDIT_CODE = 4;
const int REMOVE_CODE = 3;
const int PDF_MODE = 2;

const char *const COURSE_BUTTON_STYLE = "QPushButton {"
                                        "padding: 10px;"
                                        "color: #0058cc;"
                                        "border: 2px solid #8f8f91;"
                                        "background-color: #bac1ca;"
                                        "}";

} // namespace

namespace {

// The entry under the cursor or chosen in a drop-down list: the selection
// colours of the window's buttons, white on blue.
const char *const COMBO_LIST_STYLE = "QComboBox QAbstractItemView {"
                                     " selection-background-color: #0058cc; selection-color: #fff; }"
                                     "QComboBox::item:selected { background-color: #0058cc; color: #fff; }";

} // namespace

void MainWindow::setUpCandidateViews()
{
    m_proxyModel = new ProxyStudentInfoModel(this);
    m_infoResetDialog = new InfoResetDialog(this);
    m_addStudentDialog = new AddStudentDialog(this);

    ui->startingCourseView->horizontalHeader()->hide();
    ui->startingCourseView->verticalHeader()->hide();
    m_startingCourseModel = new StartingCourseModel(this);
    ui->cbStudentType->addItems(RESULT_FILTER_LIST);
    // A long course name does not widen the combo (and with it the window
    // beyond the screen): the form's minimum width holds.
    ui->cmbCourse->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // The tool row's white background reaches the lists through the style
    // sheet and left their highlighted entry white on white.
    for (QComboBox *combo : {ui->cmbCourse, ui->cbStudentType})
        combo->setStyleSheet(COMBO_LIST_STYLE);

    QFont headerFont("Tahoma", 11);
    // A header text too long for its column ends in "…" rather than being
    // cut at both ends. The form's style sheet draws the sections bold, and
    // the header measures its texts in its own font: bold too.
    headerFont.setBold(true);
    ui->studentView->horizontalHeader()->setFont(headerFont);
    ui->studentView->verticalHeader()->setFont(headerFont);
    ui->studentView->horizontalHeader()->setTextElideMode(Qt::ElideRight);
    ui->studentView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_proxyModel->setSourceModel(m_businessController->getStudentModel());
    ui->studentView->setModel(m_proxyModel);
    const int columns = int(sizeof STUDENT_COLUMNS / sizeof STUDENT_COLUMNS[0]);
    for (int column = 0; column < columns; ++column) {
        if (STUDENT_COLUMNS[column].width > 0)
            ui->studentView->setColumnWidth(column, STUDENT_COLUMNS[column].width);
        ui->studentView->setColumnHidden(column, STUDENT_COLUMNS[column].hidden);
    }
    ui->studentView->horizontalHeader()->setStretchLastSection(true);

    m_courseGrid = new QGridLayout();
    m_courseGrid->setSpacing(0);
    m_courseGrid->setContentsMargins(0, 0, 0, 0);
    // The rows stay together at the top however few there are, three equal
    // columns wide.
    m_courseGrid->setAlignment(Qt::AlignTop);
    for (int column = 0; column < 3; ++column) {
        m_courseGrid->setColumnStretch(column, 1);
        // An empty column would otherwise take no room at all.
        m_courseGrid->setColumnMinimumWidth(column, 1);
    }
    ui->scrollAreaWidgetContents->setLayout(m_courseGrid);

    connect(ui->studentView, &QWidget::customContextMenuRequested, this, &MainWindow::on_tableViewMouseEvent);
    connect(m_businessController, &BusinessController::notifyUpdateCourseInfo, this, &MainWindow::on_refreshGui);
    connect(ui->leSearch, &QLineEdit::textChanged, m_proxyModel, &ProxyStudentInfoModel::search_data_by_string);
    connect(m_infoResetDialog, &InfoResetDialog::confirmResetAccount, this, &MainWindow::onConfirmResetAccount);
    connect(m_confirmDialog, &QDialog::finished, this, &MainWindow::onProcessConfirmDialog);
    connect(m_addStudentDialog, &QDialog::finished, this, &MainWindow::onProcessAddDialog);
    connect(m_businessControllerClient, &BusinessControllerClient::notifyUpdateReport, this,
            &MainWindow::onUpdateReport);
    connect(m_autoPrintDialog.get(), &PrintDialog::notifyPrintReport, this, &MainWindow::onPrintReport);
    connect(ui->cbStudentType, SIGNAL(currentIndexChanged(int)), m_proxyModel,
            SLOT(filterByStudentTypeIndex(int)));
    connect(ui->startingCourseView, &QAbstractItemView::doubleClicked, this,
            &MainWindow::onDoubleClickedStartingCourse);
    connect(m_manageCourseDialog, &ManageCourseDialog::notifyChangeStartingCourse, this,
            &MainWindow::onChangeStartingCourse);
    connect(m_manageCourseDialog, &ManageCourseDialog::notifyRemoveCourse, this, &MainWindow::initialCourseCmb);

    if (m_businessController->getAutoPrint() > 0)
        m_autoPrintDialog->startPrintNotifyThread();
}

int MainWindow::selectedModelRow() const
{
    const QItemSelection selection = m_proxyModel->mapSelectionToSource(ui->studentView->selectionModel()->selection());
    const QModelIndexList cells = selection.indexes();
    return cells.isEmpty() ? -1 : cells.first().row();
}

int MainWindow::selectedId() const
{
    const int row = selectedModelRow();
    if (row < 0)
        return -1;
    const QAbstractItemModel *model = m_proxyModel->sourceModel();
    return model->data(model->index(row, ColumnId)).toInt();
}

int MainWindow::modelRowOf(int id) const
{
    const QAbstractItemModel *model = m_proxyModel->sourceModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->data(model->index(row, ColumnId)).toInt() == id)
            return row;
    }
    return -1;
}

void MainWindow::initialCourseCmb()
{
    qInfo() << LOG_ENTER_FUNCTION;
    ui->cmbCourse->clear();
    ui->cmbCourse->insertItem(0, "Chọn khóa thi...");
    const QList<Course *> *courses = m_businessController->getAllCourses();
    for (const Course *course : *courses)
        ui->cmbCourse->addItem(course->getTenKhoaHoc());
    m_exportStudentsDialog->setCourses(*courses);
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_cmbCourse_currentIndexChanged(int)
{
    qInfo() << LOG_ENTER_FUNCTION;
    const int index = ui->cmbCourse->currentIndex();
    const Course *course = m_businessController->setCurrentCourse(index - 1);
    QString courseCode;
    if (course) {
        courseCode = course->getIDKhoaHoc();
        ui->lbCourse2->setText(course->getTenKhoaHoc());
    }
    on_refreshGui();
    bool failed = false;
    m_businessController->loadStudentsOfCourse(courseCode, &failed);
    if (failed)
        onDatabaseUnreachable();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onDatabaseUnreachable()
{
    if (!m_outageRefresh.isActive())
        m_outageRefresh.start();
    if (m_outageNoticed)
        return;
    m_outageNoticed = true;
    qWarning() << "MainWindow: the main database cannot be reached; the window keeps what it shows";
    showNotice(QStringLiteral("Cảnh báo"),
               QStringLiteral("Máy chủ không kết nối được cơ sở dữ liệu MySql mô phỏng"));
}

void MainWindow::onDatabaseReachable()
{
    // A later outage is told again.
    m_outageNoticed = false;
    if (m_outageRefresh.isActive())
        refreshAfterOutage();
}

void MainWindow::refreshAfterOutage()
{
    const SqlFailureWatch watch;
    const Course *course = m_businessController->getCurrentCourse();
    bool failed = false;
    if (course)
        m_businessController->loadStudentsOfCourse(course->getIDKhoaHoc(), &failed);
    if (!failed)
        on_refreshGui();
    // The window's own reads are statements too: once they succeed the
    // outage is over, whenever the news of it arrives.
    if (!watch.failed()) {
        m_outageNoticed = false;
        m_outageRefresh.stop();
    }
}

void MainWindow::onDoubleClickedStartingCourse(const QModelIndex &index)
{
    qInfo() << LOG_ENTER_FUNCTION;
    const QString name = m_startingCourseModel->getCourseNameAt(index.row());
    if (name != INVALID_ID) {
        const int found = ui->cmbCourse->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found >= 0)
            ui->cmbCourse->setCurrentIndex(found);
    }
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onChangeStartingCourse()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_startingCourseModel->clear();
    m_startingCourseModel->addCourses(m_businessController->getStartingCourses());
    ui->startingCourseView->viewport()->update();
    initialCourseCmb();
    onRefreshContestStudentList();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onAddContestStudentList(QList<Course> courses)
{
    QList<QStringList> inRoom;
    for (const Course &course : courses) {
        QStringList orderNumbers;
        std::unique_ptr<StudentInfoList> rows(m_businessController->getSoBaoDanhByState(course.getIDKhoaHoc()));
        for (int j = 0; rows && j < rows->size(); ++j)
            orderNumbers << rows->at(j)->getSoBaoDanh();
        inRoom << orderNumbers;
    }
    fillCourseGrid(courses, inRoom);
}

bool MainWindow::readCourseGrid(QList<Course> *courses, QList<QStringList> *inRoom)
{
    const SqlFailureWatch watch;
    *courses = m_businessController->getStartingCourses();
    for (const Course &course : qAsConst(*courses)) {
        QStringList orderNumbers;
        std::unique_ptr<StudentInfoList> rows(m_businessController->getSoBaoDanhByState(course.getIDKhoaHoc()));
        for (int j = 0; rows && j < rows->size(); ++j)
            orderNumbers << rows->at(j)->getSoBaoDanh();
        *inRoom << orderNumbers;
    }
    return !watch.failed();
}

void MainWindow::fillCourseGrid(const QList<Course> &courses, const QList<QStringList> &inRoom)
{
    int row = 0;
    for (int i = 0; i < courses.size(); ++i) {
        auto *title = new ElidedButton(courses.at(i).getTenKhoaHoc());
        title->setStyleSheet(COURSE_BUTTON_STYLE);
        m_courseGrid->addWidget(title, row, 0, 1, 3);
        ++row;

        const QStringList orderNumbers = inRoom.value(i);
        if (orderNumbers.isEmpty())
            continue;
        int column = 0;
        for (int j = 0; j < orderNumbers.size(); ++j) {
            if (j > 0 && j % 3 == 0) {
                ++row;
                column = 0;
            }
            m_courseGrid->addWidget(new ElidedButton(orderNumbers.at(j)), row, column, 1, 1);
            ++column;
        }
        ++row;
    }
}

void MainWindow::onRemoveContestStudentList()
{
    while (QLayoutItem *item = m_courseGrid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

void MainWindow::onRefreshContestStudentList()
{
    QList<Course> starting;
    QList<QStringList> inRoom;
    if (!readCourseGrid(&starting, &inRoom)) {
        onDatabaseUnreachable();
        return;
    }
    onRemoveContestStudentList();
    fillCourseGrid(starting, inRoom);
}

void MainWindow::on_refreshGui()
{
    qInfo() << LOG_ENTER_FUNCTION;
    // Everything is read before anything shown changes: during an outage
    // the grid and the counters keep what they showed.
    QList<Course> starting;
    QList<QStringList> inRoom;
    bool read = readCourseGrid(&starting, &inRoom);
    CourseReportSummary summary;
    const bool courseChosen = ui->cmbCourse->currentIndex() != 0;
    if (read && courseChosen) {
        const SqlFailureWatch watch;
        summary = m_businessController->getCourseReportSummary();
        read = !watch.failed();
    }
    if (!read) {
        onDatabaseUnreachable();
        qInfo() << LOG_FINISH_FUNCTION;
        return;
    }
    onRemoveContestStudentList();
    fillCourseGrid(starting, inRoom);
    QLabel *const counters[] = {ui->lbTotal, ui->lbNotContest, ui->lbContest,
                                ui->lbContested, ui->lbPass, ui->lbNotPass};
    if (courseChosen) {
        const int counts[] = {summary.getTotal(), summary.getNotContest(), summary.getContest(),
                              summary.getContested(), summary.getPass(), summary.getNotPass()};
        for (int i = 0; i < 6; ++i)
            counters[i]->setText(QString::number(counts[i]));
    } else {
        for (QLabel *label : counters)
            label->setText(QString());
    }
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_updateStudentTable()
{
    qInfo() << LOG_ENTER_FUNCTION;
    ui->studentView->viewport()->update();
    on_refreshGui();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_btnAdd_clicked()
{
    qInfo() << LOG_ENTER_FUNCTION;
    m_addStudentDialog->showForAdd(ADD_CODE);
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_btnEdit_clicked()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (ui->studentView->currentIndex().row() == -1) {
        showNotice("Thông tin", "Bạn chưa lựa chọn học viên");
        return;
    }
    const int row = selectedModelRow();
    if (row < 0)
        return;
    const QAbstractItemModel *model = m_proxyModel->sourceModel();
    auto cell = [model, row](int column, int role = Qt::DisplayRole) {
        return model->data(model->index(row, column), role);
    };
    if (!cell(ColumnResult).toString().isEmpty()) {
        showNotice("Thông tin", "Thí sinh đã thi, không thể sửa thông tin");
        return;
    }
    // The order number as the entry holds it ("007"): the shown number has
    // lost its leading zeros, and both the photo and the saved entry are
    // keyed by the text.
    const QString orderNumber = cell(ColumnOrderNumber, StudentModel::OrderNumberTextRole).toString();
    const Course *course = m_businessController->setCurrentCourse(ui->cmbCourse->currentIndex() - 1);
    const QString courseCode = course ? course->getIDKhoaHoc() : QString();
    const QString photo =
        m_businessController->getMySqlConnection()->getAvatarInfoForContestant(orderNumber, courseCode);

    m_editId = cell(ColumnId).toInt();
    m_addStudentDialog->updateStudentInfo(cell(ColumnName).toString(),
                                          QDate::fromString(cell(ColumnBirthDate).toString(), "yyyy-MM-dd"),
                                          orderNumber, cell(ColumnLicenceClass).toString(),
                                          cell(ColumnIdNumber).toString(), cell(ColumnGender).toString(), photo,
                                          cell(ColumnContent).toString());
    m_addStudentDialog->showForEdit(EDIT_CODE);
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_btnDelete_clicked()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (ui->studentView->currentIndex().row() == -1) {
        showNotice("Thông tin", "Bạn chưa lựa chọn học viên");
        return;
    }
    m_removeId = selectedId();
    m_confirmDialog->setWindowModality(Qt::ApplicationModal);
    m_confirmDialog->setResultCode(REMOVE_CODE);
    m_confirmDialog->open();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onProcessAddDialog()
{
    qInfo() << LOG_ENTER_FUNCTION;
    const int result = m_addStudentDialog->result();
    if (result == EDIT_CODE)
        onEditContestant();
    else if (result == ADD_CODE)
        onAddContestant();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onProcessConfirmDialog()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (m_confirmDialog->result() == REMOVE_CODE)
        onRemoveContestant();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onAddContestant()
{
    qInfo() << LOG_ENTER_FUNCTION;
    const SqlResultInfo result = m_businessController->addContestantInfo(m_addStudentDialog->getStudentInfo());
    // A failed add opens again with what was typed, for correcting.
    m_addStudentDialog->setSaveOutcome(result.getSuccess());
    if (result.getSuccess()) {
        showNotice("Thông tin", "Thêm học viên thành công");
        on_refreshGui();
    } else {
        // A failed statement carries no message of its own.
        showNotice("Thông tin", result.getMessage().isEmpty() ? QString("Thêm học viên thất bại")
                                                               : result.getMessage());
    }
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onEditContestant()
{
    qInfo() << LOG_ENTER_FUNCTION;
    const int id = m_editId;
    m_editId = -1;
    if (id == -1)
        return;
    const int row = modelRowOf(id);
    if (row >= 0 && m_businessController->updateContestantInfo(id, row, m_addStudentDialog->getStudentInfo())) {
        showNotice("Thông tin", "Cập nhật học viên thành công");
        on_refreshGui();
    } else {
        showNotice("Thông tin", "Cập nhật học viên thất bại");
    }
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onRemoveContestant()
{
    qInfo() << LOG_ENTER_FUNCTION;
    const int id = m_removeId;
    m_removeId = -1;
    if (id == -1)
        return;
    if (m_businessController->removeContestantInfo(id)) {
        showNotice("Thông tin", "Xóa thông tin học viên thành công");
        on_refreshGui();
    } else {
        showNotice("Thông tin", "Xóa thông tin học viên thất bại");
    }
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::on_resetAccount()
{
    qInfo() << LOG_ENTER_FUNCTION;
    if (ui->studentView->currentIndex().row() == -1) {
        showNotice("Thông tin", "Bạn chưa lựa chọn học viên");
        return;
    }
    m_resetId = selectedId();
    m_infoResetDialog->setModal(true);
    m_infoResetDialog->showDialog();
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onConfirmResetAccount(QString comment)
{
    qInfo() << LOG_ENTER_FUNCTION;
    const int id = m_resetId;
    m_resetId = -1;
    if (id == -1)
        return;
    const int row = modelRowOf(id);
    if (row >= 0 && m_businessController->resetContestantResult(id, row, comment)) {
        showNotice("Thông tin", "Thiết lập lại thông tin thành công");
        onRefreshContestStudentList();
    } else {
        showNotice("Thông tin", "Thiết lập lại thông tin thất bại");
    }
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
    if (!ui->studentView->selectionModel()->hasSelection()) {
        showNotice("Thông tin", "Bạn chưa lựa chọn học viên");
        return;
    }
    const int id = selectedId();
    if (id == -1)
        return;
    m_printDialog->setDetail(m_businessController->getReportInfo(id));
    if (m_printDialog->isTemplateValid()) {
        m_printDialog->setModal(true);
        m_printDialog->show();
    } else {
        QMessageBox::warning(this, "Cảnh báo", "Không in báo cáo do tập tin mẫu báo cáo đã bị thay đổi!!!",
                             QMessageBox::Ok);
    }
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onUpdateReport(quint64 idClient, int id, QString contestCode)
{
    qInfo() << LOG_ENTER_FUNCTION;
    std::unique_ptr<ReportInfo> report(m_businessControllerClient->getReportInfo(idClient, id, contestCode));
    if (report)
        m_autoPrintDialog->setDetail2(report.get());
    qInfo() << LOG_FINISH_FUNCTION;
}

void MainWindow::onPrintReport(int index)
{
    qInfo() << LOG_ENTER_FUNCTION;
    const QList<LimeReport::ReportEngine *> reports = m_autoPrintDialog->getReportList();
    // A released sheet's slot stays, empty.
    LimeReport::ReportEngine *report = index >= 0 && index < reports.size() ? reports.at(index) : nullptr;
    if (!report)
        return;
    if (m_businessController->getAutoPrint() == PDF_MODE) {
        if (!QDir(PDF_FOLDER).exists())
            QDir().mkpath(PDF_FOLDER);
        bool converted = false;
        const int orderNumber = report->dataManager()->variable("OrderNumber").toInt(&converted);
        const QString course = report->dataManager()->variable("Course").toString();
        if (converted) {
            const QString fileName = autoPdfFileName(course, orderNumber);
            if (!report->printToPDF(fileName))
                qWarning() << "MainWindow::onPrintReport: the result sheet could not be written to" << fileName;
        }
    } else {
        QPrinter printer{QPrinterInfo()};
        if (!report->printReport(&printer))
            qWarning() << "MainWindow::onPrintReport: the result sheet could not be printed on the printer"
                       << (printer.printerName().isEmpty() ? QString("(no default printer)") : printer.printerName());
    }
    // Announced once only: the sheet is not needed any more.
    m_autoPrintDialog->releaseReport(index);
    qInfo() << LOG_FINISH_FUNCTION;
}
