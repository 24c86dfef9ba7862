#ifndef LIB_REPORT_REPORTENGINE_H
#define LIB_REPORT_REPORTENGINE_H

#include "lib/report/idatasourcemanager.h"

#include <QObject>
#include <QSizeF>
#include <QString>

#include <memory>

class QByteArray;
class QImage;
class QPainter;
class QPrinter;
class QWidget;

namespace LimeReport {

class DataSourceManager;
class PreviewReportWidget;
class ReportTemplate;

// One report: a template (see README.md for its format), the variables and
// tables that fill it, and the ways out: painted, PDF, printer, preview.
//
// The core (loading, data, painting, PDF) needs Qt Gui only. createPreviewWidget
// and printReport are built in the target reportwidgets, which adds Qt
// Widgets and Qt PrintSupport; only callers linking it may call them.
class ReportEngine : public QObject
{
    Q_OBJECT

public:
    explicit ReportEngine(QObject *parent = nullptr);
    ~ReportEngine() override;

    // Both loaders first forget the variables and tables of the previous
    // sheet, so nothing of it can show on the next one. A missing, unreadable
    // or malformed template returns false and leaves a blank page.
    // The second argument is kept for callers that pass it; the preview is
    // refreshed only when asked (refreshPages).
    bool loadFromFile(const QString &fileName, bool autoLoadPreviewOnChange = true);
    bool loadFromByteArray(const QByteArray &bytes);
    // Why the last load failed; empty after a good one.
    QString lastError() const;
    QString reportFileName() const;

    IDataSourceManager *dataManager();

    // Page size in millimetres.
    QSizeF pageSize() const;
    // Paints the page, its corner at the painter's origin, at the device's
    // logical resolution.
    void renderPage(QPainter *painter) const;
    // The page as an image of the given resolution.
    QImage renderPageToImage(qreal dpi) const;

    // Writes the page as a one-page PDF; false when the file cannot be
    // written.
    bool printToPDF(const QString &fileName);

    // reportwidgets: prints on the printer given; false, with a warning in
    // the log, when there is none or it cannot print.
    bool printReport(QPrinter *printer);
    // reportwidgets: a preview of this engine's page, owned by the caller.
    PreviewReportWidget *createPreviewWidget(QWidget *parent = nullptr);

private:
    std::unique_ptr<ReportTemplate> m_template;
    std::unique_ptr<DataSourceManager> m_data;
    QString m_fileName;
    QString m_error;
};

} // namespace LimeReport

#endif // LIB_REPORT_REPORTENGINE_H
