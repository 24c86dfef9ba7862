#ifndef LIB_XLSX_STYLESPART_H
#define LIB_XLSX_STYLESPART_H

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>

namespace QXlsx {

class Format;
class XmlNode;

// The workbook's style sheet. A format becomes a new cell format built on the
// workbook's default one (its font, fill and number format), so written cells
// look like the rest of the template; the template's own entries are never
// changed.
class StylesPart
{
public:
    StylesPart();
    ~StylesPart();
    StylesPart(const StylesPart &) = delete;
    StylesPart &operator=(const StylesPart &) = delete;

    // False unless the part has fonts, borders and at least one cell format.
    bool load(const QByteArray &xml);
    QByteArray toByteArray() const;
    bool isModified() const { return !m_cache.isEmpty(); }

    // The index of the cell format for a non-empty `format`.
    int cellFormatIndex(const Format &format);

private:
    int appendCounted(XmlNode *list, std::unique_ptr<XmlNode> child);

    std::unique_ptr<XmlNode> m_document;
    XmlNode *m_fonts = nullptr;
    XmlNode *m_borders = nullptr;
    XmlNode *m_cellXfs = nullptr;
    QHash<QString, int> m_cache;
};

} // namespace QXlsx

#endif // LIB_XLSX_STYLESPART_H
