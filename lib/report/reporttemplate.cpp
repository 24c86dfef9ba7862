#include "lib/report/reporttemplate.h"

#include <QByteArray>
#include <QXmlStreamReader>

namespace LimeReport {

namespace {

const QSizeF A4(210, 297);

// Reads the attributes of one element; the first fault is kept.
class Attributes
{
public:
    Attributes(const QXmlStreamReader &reader, QString *error)
        : m_attributes(reader.attributes()), m_element(reader.name().toString()),
          m_line(reader.lineNumber()), m_error(error)
    {
    }

    qreal number(const char *name, bool required, qreal fallback = 0)
    {
        const QStringRef text = m_attributes.value(QLatin1String(name));
        if (text.isNull()) {
            if (required)
                fail(QString("missing attribute \"%1\"").arg(name));
            return fallback;
        }
        bool ok = false;
        const qreal value = text.toDouble(&ok);
        if (!ok || !qIsFinite(value)) {
            fail(QString("attribute \"%1\" is not a number").arg(name));
            return fallback;
        }
        return value;
    }

    qreal length(const char *name, bool required, qreal fallback = 0)
    {
        const qreal value = number(name, required, fallback);
        if (value < 0 || value > 10000) {
            fail(QString("attribute \"%1\" is out of range").arg(name));
            return fallback;
        }
        return value;
    }

    QString text(const char *name, const QString &fallback = QString())
    {
        const QStringRef value = m_attributes.value(QLatin1String(name));
        return value.isNull() ? fallback : value.toString();
    }

    bool flag(const char *name, bool fallback)
    {
        const QString value = text(name);
        if (value.isNull())
            return fallback;
        if (value == "true")
            return true;
        if (value == "false")
            return false;
        fail(QString("attribute \"%1\" is neither true nor false").arg(name));
        return fallback;
    }

    QColor color(const char *name, const QColor &fallback)
    {
        const QString value = text(name);
        if (value.isNull())
            return fallback;
        const QColor color(value);
        if (!color.isValid())
            fail(QString("attribute \"%1\" is not a colour").arg(name));
        return color.isValid() ? color : fallback;
    }

    QRectF rect()
    {
        return QRectF(length("x", true), length("y", true), length("width", true), length("height", true));
    }

    void fail(const QString &what)
    {
        if (m_error->isEmpty())
            *m_error = QString("line %1, <%2>: %3").arg(m_line).arg(m_element, what);
    }

private:
    QXmlStreamAttributes m_attributes;
    QString m_element;
    qint64 m_line;
    QString *m_error;
};

int alignmentOf(Attributes &attributes)
{
    int flags = 0;
    const QString horizontal = attributes.text("align", "left");
    if (horizontal == "left")
        flags |= Qt::AlignLeft;
    else if (horizontal == "center")
        flags |= Qt::AlignHCenter;
    else if (horizontal == "right")
        flags |= Qt::AlignRight;
    else
        attributes.fail("attribute \"align\" is not left, center or right");
    const QString vertical = attributes.text("valign", "top");
    if (vertical == "top")
        flags |= Qt::AlignTop;
    else if (vertical == "middle")
        flags |= Qt::AlignVCenter;
    else if (vertical == "bottom")
        flags |= Qt::AlignBottom;
    else
        attributes.fail("attribute \"valign\" is not top, middle or bottom");
    return flags;
}

} // namespace

ReportTemplate::ReportTemplate()
{
    clear();
}

void ReportTemplate::clear()
{
    m_name.clear();
    m_pageSize = A4;
    m_margins = QMarginsF();
    m_items.clear();
}

bool ReportTemplate::parse(const QByteArray &bytes)
{
    clear();
    m_error.clear();
    QXmlStreamReader reader(bytes);
    bool inReport = false;
    bool pageSeen = false;
    bool inPage = false;

    while (!reader.atEnd() && m_error.isEmpty()) {
        reader.readNext();
        if (reader.isEndElement()) {
            if (reader.name() == QLatin1String("page"))
                inPage = false;
            continue;
        }
        if (!reader.isStartElement())
            continue;
        Attributes attributes(reader, &m_error);
        const QStringRef element = reader.name();
        if (!inReport) {
            if (element != QLatin1String("report")) {
                attributes.fail("the document element must be <report>");
                break;
            }
            if (attributes.text("version") != "1")
                attributes.fail("only version 1 is understood");
            m_name = attributes.text("name");
            inReport = true;
            continue;
        }
        if (element == QLatin1String("page")) {
            if (pageSeen || inPage) {
                attributes.fail("a report has one page");
                break;
            }
            pageSeen = inPage = true;
            m_pageSize = QSizeF(attributes.length("width", false, A4.width()),
                                attributes.length("height", false, A4.height()));
            m_margins = QMarginsF(attributes.length("margin-left", false), attributes.length("margin-top", false),
                                  attributes.length("margin-right", false),
                                  attributes.length("margin-bottom", false));
            if (m_pageSize.width() < 10 || m_pageSize.height() < 10)
                attributes.fail("the page is too small");
            continue;
        }
        if (!inPage) {
            attributes.fail("items belong inside <page>");
            break;
        }
        ReportItem item;
        if (element == QLatin1String("text")) {
            item.type = ReportItem::Text;
            item.rect = attributes.rect();
            item.fontFamily = attributes.text("font", item.fontFamily);
            item.fontSize = attributes.number("size", false, item.fontSize);
            if (item.fontSize < 1 || item.fontSize > 200)
                attributes.fail("attribute \"size\" is out of range");
            item.bold = attributes.flag("bold", false);
            item.italic = attributes.flag("italic", false);
            item.wrap = attributes.flag("wrap", true);
            item.color = attributes.color("color", item.color);
            item.alignment = alignmentOf(attributes);
            item.row = int(attributes.length("row", false, 0));
            item.text = reader.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        } else if (element == QLatin1String("image")) {
            item.type = ReportItem::Image;
            item.rect = attributes.rect();
            item.variable = attributes.text("variable");
            if (item.variable.isEmpty())
                attributes.fail("missing attribute \"variable\"");
            item.keepAspect = attributes.flag("keep-aspect", true);
            item.smooth = attributes.flag("smooth", true);
            reader.skipCurrentElement();
        } else if (element == QLatin1String("line")) {
            item.type = ReportItem::Line;
            item.line = QLineF(attributes.length("x1", true), attributes.length("y1", true),
                               attributes.length("x2", true), attributes.length("y2", true));
            item.penWidth = attributes.length("width", false, item.penWidth);
            item.color = attributes.color("color", item.color);
            reader.skipCurrentElement();
        } else if (element == QLatin1String("box")) {
            item.type = ReportItem::Box;
            item.rect = attributes.rect();
            item.penWidth = attributes.length("border", false, item.penWidth);
            item.color = attributes.color("color", item.color);
            item.fill = attributes.color("fill", QColor());
            reader.skipCurrentElement();
        } else {
            attributes.fail("unknown element");
            break;
        }
        m_items << item;
    }
    if (m_error.isEmpty() && reader.hasError())
        m_error = QString("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
    if (m_error.isEmpty() && !pageSeen)
        m_error = "the report has no <page>";
    if (!m_error.isEmpty()) {
        clear();
        return false;
    }
    return true;
}

} // namespace LimeReport
