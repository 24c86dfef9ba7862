#include "lib/xlsx/format.h"

namespace QXlsx {

void Format::setHorizontalAlignment(HorizontalAlignment)
{
    m_hasHorizontal = true;
}

void Format::setVerticalAlignment(VerticalAlignment)
{
    m_hasVertical = true;
}

void Format::setBorderStyle(BorderStyle style)
{
    m_hasBorder = true;
    m_border = style;
}

void Format::setFontBold(bool bold)
{
    m_hasBold = true;
    m_bold = bold;
}

bool Format::isEmpty() const
{
    return !m_hasHorizontal && !m_hasVertical && !m_hasBorder && !m_hasBold;
}

QString Format::key() const
{
    return QStringLiteral("h%1v%2b%3%4f%5%6")
        .arg(int(m_hasHorizontal))
        .arg(int(m_hasVertical))
        .arg(int(m_hasBorder))
        .arg(int(m_border))
        .arg(int(m_hasBold))
        .arg(int(m_bold));
}

} // namespace QXlsx
