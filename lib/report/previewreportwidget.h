#ifndef LIB_REPORT_PREVIEWREPORTWIDGET_H
#define LIB_REPORT_PREVIEWREPORTWIDGET_H

#include <QImage>
#include <QWidget>

class QLabel;
class QScrollArea;

namespace LimeReport {

class ReportEngine;

// The page of one engine on screen, with the two ways out the operator uses:
// the printer (through the printer dialog) and a PDF file (through a file
// dialog). The engine must outlive the widget.
class PreviewReportWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewReportWidget(ReportEngine *engine, QWidget *parent = nullptr);
    ~PreviewReportWidget() override;

    // Draws the page again from the engine's current template and data.
    void refreshPages();
    // The page as last drawn (null before the first refreshPages).
    QImage pageImage() const { return m_page; }

    // Ask for a printer and print; false when cancelled or when printing
    // failed.
    bool print();
    // Ask for a file name and write a PDF; false when cancelled or when the
    // file could not be written.
    bool printToPDF();

private:
    ReportEngine *m_engine;
    QScrollArea *m_scrollArea;
    QLabel *m_pageLabel;
    QImage m_page;
};

} // namespace LimeReport

#endif // LIB_REPORT_PREVIEWREPORTWIDGET_H
