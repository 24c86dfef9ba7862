#ifndef LIB_XLSX_CELLRANGE_H
#define LIB_XLSX_CELLRANGE_H

namespace QXlsx {

// A rectangle of cells, rows and columns counted from 1.
class CellRange
{
public:
    CellRange() = default;
    CellRange(int firstRow, int firstColumn, int lastRow, int lastColumn);

    int firstRow() const { return m_firstRow; }
    int firstColumn() const { return m_firstColumn; }
    int lastRow() const { return m_lastRow; }
    int lastColumn() const { return m_lastColumn; }
    // Inside the sheet's limits, with the first cell before the last.
    bool isValid() const;

private:
    int m_firstRow = -1;
    int m_firstColumn = -1;
    int m_lastRow = -2;
    int m_lastColumn = -2;
};

} // namespace QXlsx

#endif // LIB_XLSX_CELLRANGE_H
