#include "lib/report/reportrenderer.h"

#include "lib/report/datasourcemanager.h"
#include "lib/report/reporttemplate.h"

#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRegularExpression>

namespace LimeReport {

namespace {

QString textOf(const QVariant &value)
{
    if (!value.isValid() || value.userType() == QMetaType::QImage || value.userType() == QMetaType::QPixmap)
        return QString();
    return value.toString();
}

} // namespace

ReportRenderer::ReportRenderer(const ReportTemplate &reportTemplate, const DataSourceManager &data)
    : m_template(reportTemplate), m_data(data)
{
}

QString ReportRenderer::expand(const QString &text, int row) const
{
    static const QRegularExpression field(QStringLiteral("\\$([VD])\\{([^}]*)\\}"));
    QString out;
    int last = 0;
    QRegularExpressionMatchIterator it = field.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        out += text.midRef(last, match.capturedStart() - last);
        const QString name = match.captured(2).trimmed();
        if (match.captured(1) == QLatin1String("V")) {
            out += textOf(m_data.variableValue(name));
        } else {
            const int dot = name.indexOf('.');
            if (dot > 0)
                out += textOf(m_data.fieldValue(name.left(dot), name.mid(dot + 1), row));
        }
        last = match.capturedEnd();
    }
    out += text.midRef(last);
    return out;
}

void ReportRenderer::render(QPainter *painter) const
{
    QPaintDevice *device = painter->device();
    const qreal dpmmX = device->logicalDpiX() / 25.4;
    const qreal dpmmY = device->logicalDpiY() / 25.4;
    const QSizeF page = m_template.pageSize();
    const QMarginsF margins = m_template.margins();
    auto toDevice = [&](const QRectF &mm) {
        return QRectF((mm.x() + margins.left()) * dpmmX, (mm.y() + margins.top()) * dpmmY, mm.width() * dpmmX,
                      mm.height() * dpmmY);
    };
    auto pointToDevice = [&](const QPointF &mm) {
        return QPointF((mm.x() + margins.left()) * dpmmX, (mm.y() + margins.top()) * dpmmY);
    };

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    painter->fillRect(QRectF(0, 0, page.width() * dpmmX, page.height() * dpmmY), Qt::white);

    for (const ReportItem &item : m_template.items()) {
        switch (item.type) {
        case ReportItem::Text: {
            const QString text = expand(item.text, item.row);
            if (text.isEmpty())
                break;
            QFont font(item.fontFamily);
            font.setPointSizeF(item.fontSize);
            font.setBold(item.bold);
            font.setItalic(item.italic);
            painter->setFont(font);
            painter->setPen(item.color);
            int flags = item.alignment;
            if (item.wrap)
                flags |= Qt::TextWordWrap;
            painter->drawText(toDevice(item.rect), flags, text);
            break;
        }
        case ReportItem::Image: {
            const QVariant value = m_data.variableValue(item.variable);
            if (value.userType() != QMetaType::QImage)
                break;
            QImage image = value.value<QImage>();
            if (image.isNull())
                break;
            QRectF target = toDevice(item.rect);
            if (item.keepAspect) {
                const QSizeF fitted = QSizeF(image.size()).scaled(target.size(), Qt::KeepAspectRatio);
                target = QRectF(target.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
            }
            painter->setRenderHint(QPainter::SmoothPixmapTransform, item.smooth);
            // A crisp drawing (a code) must keep its edges: no smoothing on
            // screen, no lossy compression in a PDF.
            painter->setRenderHint(QPainter::LosslessImageRendering, !item.smooth);
            painter->drawImage(target, image);
            break;
        }
        case ReportItem::Line: {
            QPen pen(item.color);
            pen.setWidthF(item.penWidth * dpmmX);
            painter->setPen(pen);
            painter->drawLine(pointToDevice(item.line.p1()), pointToDevice(item.line.p2()));
            break;
        }
        case ReportItem::Box: {
            const QRectF target = toDevice(item.rect);
            if (item.fill.isValid())
                painter->fillRect(target, item.fill);
            if (item.penWidth > 0) {
                QPen pen(item.color);
                pen.setWidthF(item.penWidth * dpmmX);
                painter->setPen(pen);
                painter->setBrush(Qt::NoBrush);
                painter->drawRect(target);
            }
            break;
        }
        }
    }
    painter->restore();
}

} // namespace LimeReport
