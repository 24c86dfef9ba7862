#ifndef LIB_REPORT_REPORTRENDERER_H
#define LIB_REPORT_REPORTRENDERER_H

#include <QString>

class QPainter;

namespace LimeReport {

class DataSourceManager;
class ReportTemplate;

// Draws a template's page with its variables and data sources. The preview,
// the PDF writer and the printer all come through here, so what the operator
// sees is what is printed.
class ReportRenderer
{
public:
    ReportRenderer(const ReportTemplate &reportTemplate, const DataSourceManager &data);

    // Paints the whole page with its top-left corner at the painter's origin,
    // at the device's resolution (logical DPI), on a white ground.
    void render(QPainter *painter) const;

    // The text of a text item with its fields replaced: unset variables and
    // missing fields give nothing, images give nothing.
    QString expand(const QString &text, int row) const;

private:
    const ReportTemplate &m_template;
    const DataSourceManager &m_data;
};

} // namespace LimeReport

#endif // LIB_REPORT_REPORTRENDERER_H
