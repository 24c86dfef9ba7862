#include "lib/xlsx/stylespart.h"

#include "lib/xlsx/format.h"
#include "lib/xlsx/xmlnode.h"

namespace QXlsx {

StylesPart::StylesPart() = default;
StylesPart::~StylesPart() = default;

bool StylesPart::load(const QByteArray &xml)
{
    m_document = XmlNode::parse(xml);
    if (!m_document)
        return false;
    XmlNode *root = m_document->documentElement();
    if (root->localName() != QLatin1String("styleSheet"))
        return false;
    m_fonts = root->firstChildElement(QStringLiteral("fonts"));
    m_borders = root->firstChildElement(QStringLiteral("borders"));
    m_cellXfs = root->firstChildElement(QStringLiteral("cellXfs"));
    if (!m_fonts || !m_borders || !m_cellXfs || !m_cellXfs->firstChildElement(QStringLiteral("xf")))
        return false;
    const int baseFont = m_cellXfs->firstChildElement(QStringLiteral("xf"))->attribute("fontId").toInt();
    return baseFont >= 0 && baseFont < m_fonts->childElements(QStringLiteral("font")).size();
}

QByteArray StylesPart::toByteArray() const
{
    return m_document->toByteArray();
}

int StylesPart::appendCounted(XmlNode *list, std::unique_ptr<XmlNode> child)
{
    const QString name = child->localName();
    list->appendChild(std::move(child));
    const int count = list->childElements(name).size();
    list->setAttribute("count", QString::number(count));
    return count - 1;
}

int StylesPart::cellFormatIndex(const Format &format)
{
    const QString key = format.key();
    auto cached = m_cache.constFind(key);
    if (cached != m_cache.constEnd())
        return cached.value();

    const XmlNode *base = m_cellXfs->firstChildElement(QStringLiteral("xf"));
    std::unique_ptr<XmlNode> xf = base->clone();
    // A cell format of the sheet refers to the "Normal" cell style.
    if (!xf->hasAttribute("xfId"))
        xf->setAttribute("xfId", QStringLiteral("0"));

    if (format.hasFontBold()) {
        const int baseFont = base->attribute("fontId").toInt();
        std::unique_ptr<XmlNode> font = m_fonts->childElements(QStringLiteral("font")).at(baseFont)->clone();
        if (XmlNode *b = font->firstChildElement(QStringLiteral("b")))
            font->removeChildAt(font->indexOf(b));
        if (format.fontBold())
            font->insertChild(0, font->createElement(QStringLiteral("b")));
        xf->setAttribute("fontId", QString::number(appendCounted(m_fonts, std::move(font))));
        xf->setAttribute("applyFont", QStringLiteral("1"));
    }

    if (format.hasBorderStyle()) {
        auto border = m_borders->createElement(QStringLiteral("border"));
        const bool thin = format.borderStyle() == Format::BorderThin;
        for (const char *side : {"left", "right", "top", "bottom"}) {
            auto edge = border->createElement(QString::fromLatin1(side));
            if (thin) {
                edge->setAttribute("style", QStringLiteral("thin"));
                auto color = border->createElement(QStringLiteral("color"));
                color->setAttribute("indexed", QStringLiteral("64"));
                edge->appendChild(std::move(color));
            }
            border->appendChild(std::move(edge));
        }
        border->appendChild(border->createElement(QStringLiteral("diagonal")));
        xf->setAttribute("borderId", QString::number(appendCounted(m_borders, std::move(border))));
        xf->setAttribute("applyBorder", QStringLiteral("1"));
    }

    if (format.hasHorizontalAlignment() || format.hasVerticalAlignment()) {
        XmlNode *alignment = xf->firstChildElement(QStringLiteral("alignment"));
        if (!alignment)
            alignment = xf->insertChild(0, xf->createElement(QStringLiteral("alignment")));
        if (format.hasHorizontalAlignment())
            alignment->setAttribute("horizontal", QStringLiteral("center"));
        if (format.hasVerticalAlignment())
            alignment->setAttribute("vertical", QStringLiteral("center"));
        xf->setAttribute("applyAlignment", QStringLiteral("1"));
    }

    const int index = appendCounted(m_cellXfs, std::move(xf));
    m_cache.insert(key, index);
    return index;
}

} // namespace QXlsx
