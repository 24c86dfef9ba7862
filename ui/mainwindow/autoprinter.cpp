#include "ui/mainwindow/autoprinter.h"

#include "common/constants.h"
#include "lib/report/reportengine.h"
#include "records/reportinfo.h"
#include "reports/print/printdialog.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "ui/autopdffilename.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
// The run mode that writes the sheets to PDF_FOLDER instead of printing.
const int PDF_MODE = 2;
} // namespace

AutoPrinter::AutoPrinter(BusinessController *businessController,
                         BusinessControllerClient *businessControllerClient, int printPeriodMs)
    : m_businessController(businessController), m_businessControllerClient(businessControllerClient),
      m_dialog(new PrintDialog(nullptr, printPeriodMs))
{
}

AutoPrinter::~AutoPrinter() = default;

void AutoPrinter::start()
{
    if (m_businessController->getAutoPrint() > 0)
        m_dialog->startPrintNotifyThread();
}

void AutoPrinter::clearPdfFolder()
{
    const QDir folder(PDF_FOLDER);
    if (!folder.exists())
        return;
    const QStringList files = folder.entryList({"*.*"}, QDir::Files, QDir::NoSort);
    for (const QString &name : files)
        QFile::remove(PDF_FOLDER + "/" + name);
}

void AutoPrinter::updateReport(quint64 idClient, int id, const QString &contestCode)
{
    std::unique_ptr<ReportInfo> report(m_businessControllerClient->getReportInfo(idClient, id, contestCode));
    if (report)
        m_dialog->setDetail2(report.get());
}

bool AutoPrinter::printReport(int index)
{
    const QList<LimeReport::ReportEngine *> reports = m_dialog->getReportList();
    // A released sheet's slot stays, empty.
    LimeReport::ReportEngine *report = index >= 0 && index < reports.size() ? reports.at(index) : nullptr;
    if (!report)
        return false;
    // The warnings keep the wording the logs have always had.
    Failure failure = NoFailure;
    QString content;
    if (m_businessController->getAutoPrint() == PDF_MODE) {
        if (!QDir(PDF_FOLDER).exists())
            QDir().mkpath(PDF_FOLDER);
        bool converted = false;
        const int orderNumber = report->dataManager()->variable("OrderNumber").toInt(&converted);
        const QString course = report->dataManager()->variable("Course").toString();
        const QString courseCode = report->dataManager()->variable("CourseCode").toString();
        if (converted) {
            const QString fileName = autoPdfFileName(course, courseCode, orderNumber);
            if (!report->printToPDF(fileName)) {
                qWarning() << "MainWindow::onPrintReport: the result sheet could not be written to" << fileName;
                failure = FileFailure;
                content = QStringLiteral("Không ghi được phiếu kết quả vào tệp %1.")
                              .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()));
            }
        }
    } else {
        QPrinter printer{QPrinterInfo()};
        if (!report->printReport(&printer)) {
            const QString name = printer.printerName();
            qWarning() << "MainWindow::onPrintReport: the result sheet could not be printed on the printer"
                       << (name.isEmpty() ? QString("(no default printer)") : name);
            failure = PrinterFailure;
            content = name.isEmpty() ? QStringLiteral("Không in được phiếu kết quả: máy này không có máy in mặc định.")
                                     : QStringLiteral("Không in được phiếu kết quả trên máy in %1.").arg(name);
        }
    }
    tell(failure, content);
    // Announced once only: the sheet is not needed any more.
    m_dialog->releaseReport(index);
    return true;
}

void AutoPrinter::tell(Failure failure, const QString &content)
{
    if (failure == NoFailure) {
        m_toldFile = false;
        m_toldPrinter = false;
        return;
    }
    bool &toldBefore = failure == FileFailure ? m_toldFile : m_toldPrinter;
    if (toldBefore)
        return;
    toldBefore = true;
    m_failureNotice.setTitle(QStringLiteral("Cảnh báo"));
    m_failureNotice.setContent(content + QStringLiteral(" Phiếu vẫn in được bằng \"In kết quả\" trong bảng thí sinh."));
    m_failureNotice.show();
}
