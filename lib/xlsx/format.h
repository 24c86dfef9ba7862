#ifndef LIB_XLSX_FORMAT_H
#define LIB_XLSX_FORMAT_H

#include <QString>

namespace QXlsx {

// The cell formats the reports use. A property never set is left as the
// workbook's default cell format has it; a format with nothing set is empty,
// and writing with it keeps the cell's own style.
class Format
{
public:
    enum HorizontalAlignment { AlignHCenter };
    enum VerticalAlignment { AlignVCenter };
    enum BorderStyle { BorderNone, BorderThin };

    void setHorizontalAlignment(HorizontalAlignment alignment);
    void setVerticalAlignment(VerticalAlignment alignment);
    // The same style on all four sides.
    void setBorderStyle(BorderStyle style);
    void setFontBold(bool bold);

    bool isEmpty() const;
    bool hasHorizontalAlignment() const { return m_hasHorizontal; }
    bool hasVerticalAlignment() const { return m_hasVertical; }
    bool hasBorderStyle() const { return m_hasBorder; }
    BorderStyle borderStyle() const { return m_border; }
    bool hasFontBold() const { return m_hasBold; }
    bool fontBold() const { return m_bold; }
    // Equal for formats with the same properties set to the same values.
    QString key() const;

private:
    bool m_hasHorizontal = false;
    bool m_hasVertical = false;
    bool m_hasBorder = false;
    BorderStyle m_border = BorderNone;
    bool m_hasBold = false;
    bool m_bold = false;
};

} // namespace QXlsx

#endif // LIB_XLSX_FORMAT_H
