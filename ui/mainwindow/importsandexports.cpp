#include "ui/mainwindow/importsandexports.h"

#include "connection/mysqlconnection.h"
#include "records/safetext.h"
#include "reports/exports/xlsxhandler.h"
#include "reports/exports/xmlutility.h"
#include "server/business/businesscontroller.h"
#include "ui/customerbox.h"
#include "ui/exportstudentsdialog.h"
#include "ui/importagaindialog.h"
#include "ui/importinfosdialog.h"
#include "ui/importxmldialog.h"
#include "ui/managecoursedialog.h"
#include "ui/manageprovincedialog.h"
#include "ui/manageunitdialog.h"

#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QTextStream>
#include <QUrl>

ImportsAndExports::ImportsAndExports(QWidget *window, BusinessController *businessController, CustomerBox &notice)
    : m_window(window), m_businessController(businessController), m_notice(notice)
{
    m_exportStudentsDialog = new ExportStudentsDialog(window);
    m_importAgainDialog = new ImportAgainDialog(window);
    m_importInfosDialog = new ImportInfosDialog(window);
    m_importXmlDialog = new ImportXmlDialog(window);
    m_manageCourseDialog = new ManageCourseDialog(window);
    m_manageProvinceDialog = new ManageProvinceDialog(window);
    m_manageUnitDialog = new ManageUnitDialog(window);

    connect(m_businessController, &BusinessController::notifyImportCourseFromDb, m_manageCourseDialog,
            &ManageCourseDialog::onInsertCouserFromDB);
    connect(m_businessController, &BusinessController::notifyImportProvinceFromDb, m_manageProvinceDialog,
            &ManageProvinceDialog::onInsertProvinceFromDB);
    connect(m_businessController, &BusinessController::notifyImportUnitFromDb, m_manageUnitDialog,
            &ManageUnitDialog::onInsertUnitFromDB);
}

void ImportsAndExports::showNotice(const QString &title, const QString &content)
{
    m_notice.setTitle(title);
    m_notice.setContent(content);
    m_notice.setModal(true);
    m_notice.show();
}

// ------------------------------------------------ course, council and unit lists

void ImportsAndExports::showCourseManager()
{
    m_manageCourseDialog->showDialog();
}

void ImportsAndExports::showProvinceManager()
{
    m_manageProvinceDialog->showDialog();
}

void ImportsAndExports::showUnitManager()
{
    m_manageUnitDialog->showDialog();
}

// ------------------------------------------------------------------ imports

void ImportsAndExports::afterImport(const QPair<int, int> &result, const QString &courseId)
{
    showNotice(QStringLiteral("Thông tin"),
               QStringLiteral("Đã nhập thành công %1/%2 học viên của khóa thi ")
                       .arg(result.first)
                       .arg(result.second)
                   + courseId);
    // The course list is read again in place: the course manager's table is
    // reset around it, so no view keeps a deleted course.
    m_manageCourseDialog->refreshCourseList();
    emit courseListChanged();
}

void ImportsAndExports::showAuxiliaryCourses()
{
    const QList<Course *> courses = m_businessController->getAuxiliaryCourses();
    MySqlConnection *mainDb = m_businessController->getMySqlConnection();
    QList<const Course *> listed;
    QList<bool> imported;
    for (const Course *course : courses) {
        const Course stored = mainDb->getCourse(course->getIDKhoaHoc());
        // Only a course that is there counts: an absent one reads empty.
        listed << course;
        imported << (!stored.getIDKhoaHoc().isEmpty() && stored.getTenKhoaHoc() == course->getTenKhoaHoc());
    }
    m_importInfosDialog->setCourses(listed, imported);
    m_importInfosDialog->setModal(true);
    m_importInfosDialog->show();
}

void ImportsAndExports::importAuxiliaryCourse(int index)
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

void ImportsAndExports::showXmlImport()
{
    m_importXmlDialog->showDialog();
}

void ImportsAndExports::importXmlResult(int result)
{
    if (result != ImportXmlDialog::ImportCode)
        return;
    importCourseFromXml(m_importXmlDialog->getCourseCode(), m_importXmlDialog->getXmlPath());
}

void ImportsAndExports::importCourseFromXml(const QString &courseId, const QString &filePath)
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

void ImportsAndExports::confirmImportXml()
{
    const QString courseId = m_importAgainDialog->getCourseCode();
    afterImport(m_businessController->importCandidatesXml(m_xmlDocument, courseId), courseId);
}

void ImportsAndExports::updateTheoryResults()
{
    const int updated = m_businessController->updateResultOfFriendDB();
    QMessageBox::information(
        m_window, QStringLiteral("Thông báo"),
        QStringLiteral("Có %1 học viên được cập nhật kết quả thi lý thuyết").arg(updated), QMessageBox::Ok);
}

void ImportsAndExports::reloadCourse(const QString &courseId)
{
    m_businessController->loadStudentsOfCourse(courseId);
}

// ------------------------------------------------------------------ exports

void ImportsAndExports::setExportCourses(const QList<Course *> &courses)
{
    m_exportStudentsDialog->setCourses(courses);
}

void ImportsAndExports::showExportDialog(int mode)
{
    m_exportStudentsDialog->setMode(mode);
    m_exportStudentsDialog->setModal(true);
    m_exportStudentsDialog->show();
}

QString ImportsAndExports::exportCourseIdAt(int index)
{
    const QList<Course *> *courses = m_businessController->getAllCourses();
    if (index < 0 || index >= courses->size())
        return QString();
    return courses->at(index)->getIDKhoaHoc();
}

void ImportsAndExports::exportExcelReport(int index, bool (BusinessController::*report)(const QString &),
                                          int kind, const QString &what)
{
    // The export dialog's positions are those of the course list; one
    // outside it chooses nothing.
    const QString courseId = exportCourseIdAt(index);
    if (courseId.isEmpty())
        return;
    const bool saved = (m_businessController->*report)(courseId);
    QString content = QStringLiteral("Xuất danh sách ") + what
        + (saved ? QStringLiteral(" thành công") : QStringLiteral(" thất bại"));
    if (!saved) {
        const QString file = kind == SUMMARY_REPORT ? XlsxHandler::summaryFileName(courseId)
                                                    : XlsxHandler::classifiedFileName(courseId, kind);
        content += QStringLiteral(": ") + QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    }
    showNotice(QStringLiteral("Thông tin"), content);
}

void ImportsAndExports::exportCourseExcel(int index)
{
    exportExcelReport(index, &BusinessController::exportExcel, SUMMARY_REPORT, QStringLiteral("khóa học"));
}

void ImportsAndExports::exportPassedExcel(int index)
{
    exportExcelReport(index, &BusinessController::exportPassedStudentsExcel, 1,
                      QStringLiteral("thí sinh ĐẠT của khóa học"));
}

void ImportsAndExports::exportFailedExcel(int index)
{
    exportExcelReport(index, &BusinessController::exportFailedStudentsExcel, 0,
                      QStringLiteral("thí sinh TRƯỢT của khóa học"));
}

void ImportsAndExports::exportAbsentExcel(int index)
{
    exportExcelReport(index, &BusinessController::exportAbsentStudentsExcel, 2,
                      QStringLiteral("thí sinh VẮNG của khóa học"));
}

void ImportsAndExports::exportXml(int index)
{
    exportXmlForm(index, false);
}

void ImportsAndExports::exportKQSHMPXml(int index)
{
    exportXmlForm(index, true);
}

void ImportsAndExports::exportXmlForm(int index, bool secondForm)
{
    const QString courseId = exportCourseIdAt(index);
    if (courseId.isEmpty())
        return;
    // The code as a file name, with room left for the suffix.
    const QString xmlSuffix = QStringLiteral(".xml");
    QString proposed = SafeText::fileName(courseId, QString(),
                                          (secondForm ? QStringLiteral("_KQSHMP") : QString()) + xmlSuffix);
    proposed.chop(xmlSuffix.size());
    QFileDialog dialog(nullptr, QStringLiteral("Save Xml"), proposed, QStringLiteral("Xml files (*.xml)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name given without a suffix gets ".xml", before the dialog asks
    // about replacing a file of that name.
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    QString path;
    if (dialog.exec() == QDialog::Accepted)
        path = dialog.selectedFiles().value(0);
    // Whatever the platform's dialog did with the default suffix.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += xmlSuffix;
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
