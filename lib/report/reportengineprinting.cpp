// The two engine methods that need Qt Widgets and Qt PrintSupport; built in
// the target reportwidgets so the engine's core stays free of them.
#include "lib/report/previewreportwidget.h"
#include "lib/report/reportengine.h"

#include <QDebug>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace LimeReport {

bool ReportEngine::printReport(QPrinter *printer)
{
    if (!printer) {
        qWarning() << "ReportEngine::printReport: no printer";
        return false;
    }
    if (printer->outputFormat() == QPrinter::NativeFormat && !printer->isValid()) {
        qWarning() << "ReportEngine::printReport: no printer available" << printer->printerName();
        return false;
    }
    printer->setFullPage(true);
    printer->setPageSize(QPageSize(pageSize(), QPageSize::Millimeter));
    printer->setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(printer)) {
        qWarning() << "ReportEngine::printReport: cannot print on" << printer->printerName();
        return false;
    }
    renderPage(&painter);
    return painter.end();
}

PreviewReportWidget *ReportEngine::createPreviewWidget(QWidget *parent)
{
    return new PreviewReportWidget(this, parent);
}

} // namespace LimeReport
