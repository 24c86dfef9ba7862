#ifndef LIB_REPORT_REPORTTEMPLATE_H
#define LIB_REPORT_REPORTTEMPLATE_H

#include <QColor>
#include <QLineF>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>

class QByteArray;

namespace LimeReport {

// One drawn element of the page; lengths in millimetres, measured from the
// top-left corner of the area inside the page margins.
struct ReportItem
{
    enum Type { Text, Image, Line, Box };

    Type type = Text;
    QRectF rect;            // text, image, box
    QLineF line;            // line
    // text: literal words with $V{variable} and $D{source.column} fields
    QString text;
    QString fontFamily = QStringLiteral("DejaVu Sans");
    qreal fontSize = 10;    // points
    bool bold = false;
    bool italic = false;
    int alignment = 0;      // Qt::Alignment flags
    bool wrap = true;
    int row = 0;            // row of the data sources the $D fields read
    QColor color = Qt::black;
    // image: the variable holding the QImage
    QString variable;
    bool keepAspect = true;
    bool smooth = true;
    // line, box
    qreal penWidth = 0.3;   // 0: no border
    QColor fill;            // invalid: not filled
};

// A parsed template: one page and its items, in drawing order.
class ReportTemplate
{
public:
    ReportTemplate();

    // Replaces this template with the one in the bytes. On an error the
    // template is left empty (a blank A4 page) and the error says where.
    bool parse(const QByteArray &bytes);
    void clear();

    QString errorString() const { return m_error; }
    QString name() const { return m_name; }
    QSizeF pageSize() const { return m_pageSize; }
    QMarginsF margins() const { return m_margins; }
    const QVector<ReportItem> &items() const { return m_items; }

private:
    QString m_name;
    QSizeF m_pageSize;
    QMarginsF m_margins;
    QVector<ReportItem> m_items;
    QString m_error;
};

} // namespace LimeReport

#endif // LIB_REPORT_REPORTTEMPLATE_H
