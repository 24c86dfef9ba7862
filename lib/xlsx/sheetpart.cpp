#include "lib/xlsx/sheetpart.h"

#include "lib/xlsx/xmlnode.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace QXlsx {

namespace {

// The order the format requires for the children of a worksheet.
const QStringList &worksheetOrder()
{
    static const QStringList order{
        "sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData", "sheetCalcPr",
        "sheetProtection", "protectedRanges", "scenarios", "autoFilter", "sortState", "dataConsolidate",
        "customSheetViews", "mergeCells", "phoneticPr", "conditionalFormatting", "dataValidations",
        "hyperlinks", "printOptions", "pageMargins", "pageSetup", "headerFooter", "rowBreaks", "colBreaks",
        "customProperties", "cellWatches", "ignoredErrors", "smartTags", "drawing", "legacyDrawing",
        "legacyDrawingHF", "drawingHF", "picture", "oleObjects", "controls", "webPublishItems", "tableParts",
        "extLst"};
    return order;
}

QString columnName(int column)
{
    QString name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.prepend(QChar('A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

QString cellName(int row, int column)
{
    return columnName(column) + QString::number(row);
}

// (row, column) of a reference such as "AB12"; (0, 0) when it is none.
QPair<int, int> parseCellName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\$?([A-Z]{1,3})\\$?([0-9]{1,7})$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return {0, 0};
    int column = 0;
    for (const QChar c : match.captured(1))
        column = column * 26 + (c.unicode() - 'A' + 1);
    return {match.captured(2).toInt(), column};
}

CellRange parseRange(const QString &ref)
{
    const QStringList parts = ref.split(QLatin1Char(':'));
    const QPair<int, int> first = parseCellName(parts.first());
    const QPair<int, int> last = parseCellName(parts.last());
    return CellRange(first.first, first.second, last.first, last.second);
}

bool overlaps(const CellRange &a, const CellRange &b)
{
    return a.firstRow() <= b.lastRow() && b.firstRow() <= a.lastRow() && a.firstColumn() <= b.lastColumn()
        && b.firstColumn() <= a.lastColumn();
}

// Texts of the format may not hold every character XML can carry; the format
// writes the others as _xHHHH_, and a literal "_xHHHH_" with its underscore
// escaped so that it reads back as written.
QString escapeCellText(const QString &text)
{
    static const QRegularExpression literal(QStringLiteral("^_x[0-9A-Fa-f]{4}_"));
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        const bool controlChar = u < 0x20 && u != '\t' && u != '\n';
        const bool nonCharacter = u == 0xFFFE || u == 0xFFFF;
        const bool loneSurrogate = (c.isHighSurrogate() && !(i + 1 < text.size() && text.at(i + 1).isLowSurrogate()))
            || (c.isLowSurrogate() && !(i > 0 && text.at(i - 1).isHighSurrogate()));
        if (controlChar || nonCharacter || loneSurrogate)
            out += QStringLiteral("_x") + QString::number(u, 16).rightJustified(4, QLatin1Char('0')).toUpper()
                + QLatin1Char('_');
        else if (u == '_' && literal.match(text.midRef(i, 7)).hasMatch())
            out += QStringLiteral("_x005F_");
        else
            out += c;
    }
    return out;
}

bool needsPreserve(const QString &text)
{
    if (text.isEmpty())
        return false;
    if (text.front().isSpace() || text.back().isSpace())
        return true;
    for (int i = 1; i < text.size(); ++i)
        if (text.at(i).isSpace() && (text.at(i - 1).isSpace() || text.at(i) != QLatin1Char(' ')))
            return true;
    return false;
}

bool isNumber(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    case QMetaType::Double:
    case QMetaType::Float:
        return std::isfinite(value.toDouble());
    default:
        return false;
    }
}

} // namespace

SheetPart::SheetPart() = default;
SheetPart::~SheetPart() = default;

bool SheetPart::load(const QByteArray &xml)
{
    m_document = XmlNode::parse(xml);
    if (!m_document)
        return false;
    m_root = m_document->documentElement();
    if (m_root->localName() != QLatin1String("worksheet"))
        return false;
    m_sheetData = m_root->firstChildElement(QStringLiteral("sheetData"));
    if (!m_sheetData) {
        auto sheetData = m_root->createElement(QStringLiteral("sheetData"));
        m_sheetData = sheetData.get();
        insertInOrder(std::move(sheetData));
    }
    // Row and cell references are optional in the format (a missing one
    // means "the next"); they are filled in so that lookups can trust them.
    int lastRow = 0;
    for (XmlNode *rowNode : m_sheetData->childElements(QStringLiteral("row"))) {
        const int r = rowNode->hasAttribute("r") ? rowNode->attribute("r").toInt() : lastRow + 1;
        if (r <= lastRow)
            return false;
        rowNode->setAttribute("r", QString::number(r));
        m_rows.insert(r, rowNode);
        lastRow = r;
        int lastColumn = 0;
        for (XmlNode *c : rowNode->childElements(QStringLiteral("c"))) {
            int column = lastColumn + 1;
            if (c->hasAttribute("r")) {
                const QPair<int, int> at = parseCellName(c->attribute("r"));
                if (at.first != r)
                    return false;
                column = at.second;
            }
            if (column <= lastColumn)
                return false;
            c->setAttribute("r", cellName(r, column));
            lastColumn = column;
        }
    }
    if (XmlNode *merges = m_root->firstChildElement(QStringLiteral("mergeCells"))) {
        for (XmlNode *merge : merges->childElements(QStringLiteral("mergeCell")))
            m_merges.append(parseRange(merge->attribute("ref")));
    }
    return true;
}

QByteArray SheetPart::toByteArray() const
{
    updateDimension();
    return m_document->toByteArray();
}

void SheetPart::setRowHeight(int r, double points)
{
    XmlNode *rowNode = row(r, true);
    rowNode->setAttribute("ht", QString::number(points, 'f', 2));
    rowNode->setAttribute("customHeight", QStringLiteral("1"));
}

XmlNode *SheetPart::row(int r, bool create)
{
    auto found = m_rows.constFind(r);
    if (found != m_rows.constEnd())
        return found.value();
    if (!create)
        return nullptr;
    auto rowNode = m_sheetData->createElement(QStringLiteral("row"));
    rowNode->setAttribute("r", QString::number(r));
    auto next = m_rows.upperBound(r);
    const int index = next == m_rows.end() ? m_sheetData->childCount() : m_sheetData->indexOf(next.value());
    XmlNode *raw = m_sheetData->insertChild(index, std::move(rowNode));
    m_rows.insert(r, raw);
    return raw;
}

XmlNode *SheetPart::cell(int r, int column)
{
    XmlNode *rowNode = row(r, true);
    // The row's span hint would no longer be true once a cell is added.
    rowNode->removeAttribute("spans");
    int index = rowNode->childCount();
    for (int i = 0; i < rowNode->childCount(); ++i) {
        XmlNode *c = rowNode->childAt(i);
        if (c->kind() != XmlNode::Element)
            continue;
        if (c->localName() != QLatin1String("c")) {
            index = i; // the row's extLst comes after its cells
            break;
        }
        const int at = parseCellName(c->attribute("r")).second;
        if (at == column)
            return c;
        if (at > column) {
            index = i;
            break;
        }
    }
    auto c = rowNode->createElement(QStringLiteral("c"));
    c->setAttribute("r", cellName(r, column));
    const int style = inheritedStyle(rowNode, column);
    if (style >= 0)
        c->setAttribute("s", QString::number(style));
    return rowNode->insertChild(index, std::move(c));
}

int SheetPart::inheritedStyle(XmlNode *rowNode, int column) const
{
    const QString custom = rowNode->attribute("customFormat");
    if ((custom == QLatin1String("1") || custom == QLatin1String("true")) && rowNode->hasAttribute("s"))
        return rowNode->attribute("s").toInt();
    if (XmlNode *cols = m_root->firstChildElement(QStringLiteral("cols"))) {
        for (XmlNode *col : cols->childElements(QStringLiteral("col"))) {
            if (col->attribute("min").toInt() <= column && column <= col->attribute("max").toInt()
                && col->hasAttribute("style"))
                return col->attribute("style").toInt();
        }
    }
    return -1;
}

void SheetPart::setValue(int r, int column, const QVariant &value, int style)
{
    XmlNode *c = cell(r, column);
    if (style >= 0)
        c->setAttribute("s", QString::number(style));
    c->removeAttribute("t");
    c->removeAttribute("cm");
    c->removeAttribute("vm");
    for (int i = c->childCount() - 1; i >= 0; --i) {
        XmlNode *child = c->childAt(i);
        if (!(child->kind() == XmlNode::Element && child->localName() == QLatin1String("extLst")))
            c->removeChildAt(i);
    }
    if (isNumber(value) || value.userType() == QMetaType::Bool) {
        auto v = c->createElement(QStringLiteral("v"));
        auto text = std::make_unique<XmlNode>(XmlNode::Text);
        if (value.userType() == QMetaType::Bool) {
            c->setAttribute("t", QStringLiteral("b"));
            text->setText(value.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
        } else if (value.userType() == QMetaType::Double || value.userType() == QMetaType::Float) {
            text->setText(QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest));
        } else if (value.userType() == QMetaType::ULongLong || value.userType() == QMetaType::ULong) {
            text->setText(QString::number(value.toULongLong()));
        } else {
            text->setText(QString::number(value.toLongLong()));
        }
        v->appendChild(std::move(text));
        c->insertChild(0, std::move(v));
        return;
    }
    const QString plain = value.toString();
    if (plain.isEmpty())
        return; // a blank cell that keeps its style
    // Always an inline string, never a formula: a text that starts with "="
    // stays the text the caller wrote.
    c->setAttribute("t", QStringLiteral("inlineStr"));
    auto is = c->createElement(QStringLiteral("is"));
    auto t = c->createElement(QStringLiteral("t"));
    if (needsPreserve(plain))
        t->setAttribute("xml:space", QStringLiteral("preserve"));
    auto text = std::make_unique<XmlNode>(XmlNode::Text);
    text->setText(escapeCellText(plain));
    t->appendChild(std::move(text));
    is->appendChild(std::move(t));
    c->insertChild(0, std::move(is));
}

void SheetPart::setStyle(int r, int column, int style)
{
    cell(r, column)->setAttribute("s", QString::number(style));
}

bool SheetPart::addMerge(const CellRange &range)
{
    for (const CellRange &merged : m_merges)
        if (overlaps(merged, range))
            return false;
    XmlNode *merges = m_root->firstChildElement(QStringLiteral("mergeCells"));
    if (!merges) {
        auto created = m_root->createElement(QStringLiteral("mergeCells"));
        merges = created.get();
        insertInOrder(std::move(created));
    }
    auto merge = merges->createElement(QStringLiteral("mergeCell"));
    merge->setAttribute("ref", cellName(range.firstRow(), range.firstColumn()) + QLatin1Char(':')
                                   + cellName(range.lastRow(), range.lastColumn()));
    merges->appendChild(std::move(merge));
    m_merges.append(range);
    merges->setAttribute("count", QString::number(merges->childElements(QStringLiteral("mergeCell")).size()));
    return true;
}

void SheetPart::insertInOrder(std::unique_ptr<XmlNode> child)
{
    const int rank = worksheetOrder().indexOf(child->localName());
    int index = m_root->childCount();
    for (int i = 0; i < m_root->childCount(); ++i) {
        XmlNode *sibling = m_root->childAt(i);
        if (sibling->kind() == XmlNode::Element && worksheetOrder().indexOf(sibling->localName()) > rank) {
            index = i;
            break;
        }
    }
    m_root->insertChild(index, std::move(child));
}

void SheetPart::updateDimension() const
{
    XmlNode *dimension = m_root->firstChildElement(QStringLiteral("dimension"));
    if (!dimension)
        return;
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
    for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it) {
        for (XmlNode *c : it.value()->childElements(QStringLiteral("c"))) {
            const int column = parseCellName(c->attribute("r")).second;
            if (firstRow == 0)
                firstRow = it.key();
            lastRow = it.key();
            if (firstColumn == 0 || column < firstColumn)
                firstColumn = column;
            lastColumn = qMax(lastColumn, column);
        }
    }
    if (firstRow == 0)
        return;
    QString ref = cellName(firstRow, firstColumn);
    if (firstRow != lastRow || firstColumn != lastColumn)
        ref += QLatin1Char(':') + cellName(lastRow, lastColumn);
    dimension->setAttribute("ref", ref);
}

} // namespace QXlsx
