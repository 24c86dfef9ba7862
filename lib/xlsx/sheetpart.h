#ifndef LIB_XLSX_SHEETPART_H
#define LIB_XLSX_SHEETPART_H

#include "lib/xlsx/cellrange.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QVariant>

#include <memory>

namespace QXlsx {

class XmlNode;

// One worksheet part: its cells, their styles and the merged ranges, edited
// in place so that everything else in the part stays as the template had it.
class SheetPart
{
public:
    SheetPart();
    ~SheetPart();
    SheetPart(const SheetPart &) = delete;
    SheetPart &operator=(const SheetPart &) = delete;

    bool load(const QByteArray &xml);
    QByteArray toByteArray() const;

    // Sets the value of a cell; `style` -1 keeps the cell's own style (for a
    // new cell, the style its row or column gives).
    void setValue(int row, int column, const QVariant &value, int style);
    void setStyle(int row, int column, int style);
    // False when the range overlaps a merged range already there.
    bool addMerge(const CellRange &range);
    // A height of its own, in points, for the row.
    void setRowHeight(int row, double points);

private:
    XmlNode *row(int row, bool create);
    XmlNode *cell(int row, int column);
    int inheritedStyle(XmlNode *rowNode, int column) const;
    void insertInOrder(std::unique_ptr<XmlNode> child);
    void updateDimension() const;

    std::unique_ptr<XmlNode> m_document;
    XmlNode *m_root = nullptr;
    XmlNode *m_sheetData = nullptr;
    QMap<int, XmlNode *> m_rows;
    QList<CellRange> m_merges;
};

} // namespace QXlsx

#endif // LIB_XLSX_SHEETPART_H
