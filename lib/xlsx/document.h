#ifndef LIB_XLSX_DOCUMENT_H
#define LIB_XLSX_DOCUMENT_H

#include "lib/xlsx/cellrange.h"
#include "lib/xlsx/format.h"

#include <QString>
#include <QVariant>

#include <memory>

namespace QXlsx {

class Package;
class SheetPart;
class StylesPart;

// A workbook opened on a template, edited on its first worksheet and saved
// as a new file; the template itself is never written. A template that is
// missing or unreadable gives an invalid document: its writes and saveAs
// return false.
class Document
{
public:
    explicit Document(const QString &templateName);
    ~Document();
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    // Row and column count from 1. Numbers are written as numbers; any other
    // value as its text, always as a plain text (never a formula). An empty
    // `format` keeps the cell's style from the template.
    bool write(int row, int column, const QVariant &value, const Format &format = Format());
    // Merges the range; a non-empty `format` is given to every cell in it.
    // False when the range overlaps one merged before.
    bool mergeCells(const CellRange &range, const Format &format = Format());
    // Gives the row a height of its own, in points (a reader that does not
    // work out the heights of wrapped texts by itself shows them whole).
    // False for a row below 1 or a height that is not positive.
    bool setRowHeight(int row, double height);
    // Writes the workbook to `fileName`, replacing a file of that name.
    bool saveAs(const QString &fileName) const;

private:
    bool open(const QString &templateName);

    std::unique_ptr<Package> m_package;
    std::unique_ptr<SheetPart> m_sheet;
    std::unique_ptr<StylesPart> m_styles;
    QString m_sheetPath;
    QString m_stylesPath;
    bool m_valid = false;
    bool m_sheetModified = false;
};

} // namespace QXlsx

#endif // LIB_XLSX_DOCUMENT_H
