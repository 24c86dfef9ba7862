#include "lib/xlsx/document.h"

#include "lib/xlsx/package.h"
#include "lib/xlsx/sheetpart.h"
#include "lib/xlsx/stylespart.h"
#include "lib/xlsx/xmlnode.h"

#include <QDir>
#include <QFileInfo>

namespace QXlsx {

namespace {

// The rels part beside `part`: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
QString relsPathOf(const QString &part)
{
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

// A relationship target, resolved against the folder of its source part.
QString resolveTarget(const QString &sourcePart, const QString &target)
{
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target).mid(1);
    const int slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    QString path = QDir::cleanPath(sourcePart.left(slash + 1) + target);
    return path;
}

// The first relationship of `rels` that satisfies `match`, as a part path.
template <typename Match>
QString findTarget(const Package &package, const QString &sourcePart, Match match)
{
    const std::unique_ptr<XmlNode> rels = XmlNode::parse(package.read(relsPathOf(sourcePart)));
    if (!rels)
        return QString();
    for (XmlNode *rel : rels->documentElement()->childElements(QStringLiteral("Relationship")))
        if (rel->attribute("TargetMode") != QLatin1String("External") && match(rel))
            return resolveTarget(sourcePart, rel->attribute("Target"));
    return QString();
}

} // namespace

Document::Document(const QString &templateName)
    : m_package(new Package), m_sheet(new SheetPart), m_styles(new StylesPart)
{
    m_valid = open(templateName);
}

Document::~Document() = default;

bool Document::open(const QString &templateName)
{
    if (!QFileInfo(templateName).isFile() || !m_package->load(templateName))
        return false;
    const QString workbook = findTarget(*m_package, QString(), [](const XmlNode *rel) {
        return rel->attribute("Type").endsWith(QLatin1String("/officeDocument"));
    });
    const std::unique_ptr<XmlNode> workbookXml = XmlNode::parse(m_package->read(workbook));
    if (workbook.isEmpty() || !workbookXml)
        return false;
    const XmlNode *sheets = workbookXml->documentElement()->firstChildElement(QStringLiteral("sheets"));
    const XmlNode *sheet = sheets ? sheets->firstChildElement(QStringLiteral("sheet")) : nullptr;
    if (!sheet)
        return false;
    // The relationship id is the sheet's attribute "id" in whatever prefix the
    // workbook bound to the relationships namespace.
    QString relId;
    for (const auto &a : sheet->attributes())
        if (a.first.endsWith(QLatin1String(":id")))
            relId = a.second;
    m_sheetPath = findTarget(*m_package, workbook, [&relId](const XmlNode *rel) {
        return rel->attribute("Id") == relId;
    });
    m_stylesPath = findTarget(*m_package, workbook, [](const XmlNode *rel) {
        return rel->attribute("Type").endsWith(QLatin1String("/styles"));
    });
    if (relId.isEmpty() || !m_package->contains(m_sheetPath) || !m_package->contains(m_stylesPath))
        return false;
    return m_sheet->load(m_package->read(m_sheetPath)) && m_styles->load(m_package->read(m_stylesPath));
}

bool Document::write(int row, int column, const QVariant &value, const Format &format)
{
    if (!m_valid || !CellRange(row, column, row, column).isValid())
        return false;
    const int style = format.isEmpty() ? -1 : m_styles->cellFormatIndex(format);
    m_sheet->setValue(row, column, value, style);
    m_sheetModified = true;
    return true;
}

bool Document::mergeCells(const CellRange &range, const Format &format)
{
    if (!m_valid || !range.isValid() || !m_sheet->addMerge(range))
        return false;
    if (!format.isEmpty()) {
        const int style = m_styles->cellFormatIndex(format);
        for (int r = range.firstRow(); r <= range.lastRow(); ++r)
            for (int c = range.firstColumn(); c <= range.lastColumn(); ++c)
                m_sheet->setStyle(r, c, style);
    }
    m_sheetModified = true;
    return true;
}

bool Document::setRowHeight(int row, double height)
{
    if (!m_valid || row < 1 || !(height > 0))
        return false;
    m_sheet->setRowHeight(row, height);
    m_sheetModified = true;
    return true;
}

bool Document::saveAs(const QString &fileName) const
{
    if (!m_valid)
        return false;
    Package out = *m_package;
    if (m_sheetModified)
        out.replace(m_sheetPath, m_sheet->toByteArray());
    if (m_styles->isModified())
        out.replace(m_stylesPath, m_styles->toByteArray());
    return out.save(fileName);
}

} // namespace QXlsx
