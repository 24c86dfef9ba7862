#include "lib/xlsx/cellrange.h"

namespace QXlsx {

namespace {
const int kMaxRow = 1048576;
const int kMaxColumn = 16384;
}

CellRange::CellRange(int firstRow, int firstColumn, int lastRow, int lastColumn)
    : m_firstRow(firstRow), m_firstColumn(firstColumn), m_lastRow(lastRow), m_lastColumn(lastColumn)
{
}

bool CellRange::isValid() const
{
    return m_firstRow >= 1 && m_firstColumn >= 1 && m_firstRow <= m_lastRow
        && m_firstColumn <= m_lastColumn && m_lastRow <= kMaxRow && m_lastColumn <= kMaxColumn;
}

} // namespace QXlsx
