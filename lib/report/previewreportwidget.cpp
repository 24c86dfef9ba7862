#include "lib/report/previewreportwidget.h"

#include "lib/report/reportengine.h"

#include <QFileDialog>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace LimeReport {

namespace {
// Close to the page's real size on an ordinary office screen.
const qreal PREVIEW_DPI = 96;
} // namespace

PreviewReportWidget::PreviewReportWidget(ReportEngine *engine, QWidget *parent)
    : QWidget(parent), m_engine(engine), m_scrollArea(new QScrollArea(this)), m_pageLabel(new QLabel)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    m_scrollArea->setWidget(m_pageLabel);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scrollArea->setBackgroundRole(QPalette::Dark);
    layout->addWidget(m_scrollArea);
}

PreviewReportWidget::~PreviewReportWidget() = default;

void PreviewReportWidget::refreshPages()
{
    m_page = m_engine->renderPageToImage(PREVIEW_DPI);
    m_pageLabel->setPixmap(QPixmap::fromImage(m_page));
}

bool PreviewReportWidget::print()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return m_engine->printReport(&printer);
}

bool PreviewReportWidget::printToPDF()
{
    QString fileName = QFileDialog::getSaveFileName(this, QString::fromUtf8("Lưu báo cáo thành tệp PDF"), QString(),
                                                    QString::fromUtf8("Tệp PDF (*.pdf)"), nullptr,
                                                    QFileDialog::DontUseNativeDialog);
    if (fileName.isEmpty())
        return false;
    if (!fileName.endsWith(".pdf", Qt::CaseInsensitive))
        fileName += ".pdf";
    return m_engine->printToPDF(fileName);
}

} // namespace LimeReport
