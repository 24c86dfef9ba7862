#include "ui/mainwindow.h"

#include "common/constants.h"
#include "connection/mysqlconnection.h"
#include "records/course.h"
#include "reports/exports/xmlutility.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/network/iocontroller.h"
#include "ui/aboutdialog.h"
#include "ui/configdialog.h"
#include "ui/confirmdialog.h"
#include "ui/exportstudentsdialog.h"
#include "ui/importagaindialog.h"
#include "ui/importinfosdialog.h"
#include "ui/importxmldialog.h"
#include "ui/loghandler.h"
#include "ui/managecoursedialog.h"
#include "ui/manageprovincedialog.h"
#include "ui/manageunitdialog.h"
#include "ui/testauxiliarydb.h"
#include "ui/testmaindb.h"

#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QTextStream>
#include <QTimer>
#include <QUrl>

#include <limits>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
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

    // Connections.
    connect(this, &MainWindow::notifyUpdateResultOfFriendDB, this,
            &MainWindow::onUpdateResultOfFriendDB);
    connect(m_configDialog, &ConfigDialog::notifyUpdateConfig, m_businessController,
            &BusinessController::onUpdateConfig);

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

    IOController::destroyInstance();
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
        ORV_LOG_DEBUG << "Can not create the theory result refresh thread";
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
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::showMainWindow()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    showMaximized();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    event->ignore();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::exitProgram()
{
    QApplication::closeAllWindows();
    QTimer::singleShot(0, qApp, []() { QCoreApplication::exit(0); });
}

void MainWindow::on_actionExit_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Cảnh báo"),
        "Tắt chương trình sẽ mất kết nối và không lưu được kết quả các máy đang thi. Bạn có chắc "
        "chắn muốn thoát không?",
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        exitProgram();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionInfo_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_aboutDialog->setTitle(ADMIN_SOFTWARE_TITLE);
    m_aboutDialog->setModal(true);
    m_aboutDialog->show();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionConfigSystemFunction_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_configDialog->showDialog();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionTestAuxiliaryDbConnection_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_testAuxiliaryDb->showConnectionInfo();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::on_actionTestMainDbConnection_triggered()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_testMainDb->showConnectionInfo();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
}

void MainWindow::onUpdateResultOfFriendDB()
{
    ORV_LOG_INFO << LOG_ENTER_FUNCTION;
    m_businessController->updateResultOfFriendDB();
    ORV_LOG_INFO << LOG_FINISH_FUNCTION;
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

    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportXml, this, &MainWindow::onExportXml);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportKQSHMPXml, this,
            &MainWindow::onExportKQSHMPXml);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportExcel, this,
            &MainWindow::onExportExcel);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportPassedStudentsExcel, this,
            &MainWindow::onExportPassedStudents);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportFailedStudentsExcel, this,
            &MainWindow::onExportFailedStudents);
    connect(m_exportStudentsDialog, &ExportStudentsDialog::notifyExportAbsentStudentsExcel, this,
            &MainWindow::onExportAbsentStudents);
    connect(m_importInfosDialog, &ImportInfosDialog::notifyImportCourse, this, &MainWindow::onImportCourse);
    connect(m_importAgainDialog, &ImportAgainDialog::confirmImportXml, this, &MainWindow::onConfirmImportXml);
    connect(m_importXmlDialog, &QDialog::finished, this, &MainWindow::onProcessImportXmlResult);
    connect(m_businessController, &BusinessController::notifyUpdateResultTheoryInUI, this,
            &MainWindow::onUpdateResultTheoryInUI);
    connect(m_businessController, &BusinessController::notifyImportCourseFromDb, m_manageCourseDialog,
            &ManageCourseDialog::onInsertCouserFromDB);
    connect(m_businessController, &BusinessController::notifyImportProvinceFromDb, m_manageProvinceDialog,
            &ManageProvinceDialog::onInsertProvinceFromDB);
    connect(m_businessController, &BusinessController::notifyImportUnitFromDb, m_manageUnitDialog,
            &ManageUnitDialog::onInsertUnitFromDB);
    m_exportStudentsDialog->setCourses(*m_businessController->getAllCourses());
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
    m_exportStudentsDialog->setCourses(*m_businessController->getAllCourses());
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

void MainWindow::onProcessImportXmlResult(int result)
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
        ORV_LOG_DEBUG << "Candidate list" << filePath << "is not valid XML: line" << line << "column"
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

void MainWindow::onExportExcel(int index)
{
    exportExcelReport(index, &BusinessController::exportExcel, QStringLiteral("khóa học"));
}

void MainWindow::onExportPassedStudents(int index)
{
    exportExcelReport(index, &BusinessController::exportPassedStudentsExcel,
                      QStringLiteral("thí sinh ĐẠT của khóa học"));
}

void MainWindow::onExportFailedStudents(int index)
{
    exportExcelReport(index, &BusinessController::exportFailedStudentsExcel,
                      QStringLiteral("thí sinh TRƯỢT của khóa học"));
}

void MainWindow::onExportAbsentStudents(int index)
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
        ORV_LOG_DEBUG << "Error saving XML file.";
        return;
    }
    // Written beside the target and put in its place whole, so a failed
    // write leaves no half file and never replaces an older one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        ORV_LOG_DEBUG << "Error saving XML file." << path << file.errorString();
        showNotice(QStringLiteral("Cảnh báo"), QStringLiteral("Export thất bại."));
        return;
    }
    const QDomDocument document = secondForm ? m_businessController->exportKQSHMPXml(courseId)
                                             : m_businessController->exportXml(courseId);
    QTextStream stream(&file);
    stream.setCodec("utf-8");
    document.save(stream, 1);
    stream.flush();
    const QString written = QFileInfo(path).absoluteFilePath();
    if (stream.status() != QTextStream::Ok || !file.commit()) {
        ORV_LOG_DEBUG << "Error saving XML file." << written << file.errorString();
        showNotice(QStringLiteral("Cảnh báo"), QStringLiteral("Export thất bại."));
        return;
    }
    showNotice(QStringLiteral("Cảnh báo"), QStringLiteral("Export thành công."));
    QDesktopServices::openUrl(QUrl::fromLocalFile(written));
}

void MainWindow::onExportXml(int index)
{
    exportXmlForm(index, false);
}

void MainWindow::onExportKQSHMPXml(int index)
{
    exportXmlForm(index, true);
}
