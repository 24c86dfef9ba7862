#ifndef LIB_XLSX_XMLNODE_H
#define LIB_XLSX_XMLNODE_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>
#include <vector>

class QXmlStreamWriter;

namespace QXlsx {

// A small mutable XML tree for the workbook parts this library edits. It
// keeps what QDom would lose or reorder: prefixes and namespace declarations
// as written, attribute order and whitespace-only text (a cell text of blanks
// is data), so that a part written back differs from its source only where
// it was edited. Names are kept qualified, exactly as in the source.
class XmlNode
{
public:
    enum Kind { Document, Element, Text, Comment, ProcessingInstruction };

    explicit XmlNode(Kind kind, const QString &name = QString());
    ~XmlNode();
    XmlNode(const XmlNode &) = delete;
    XmlNode &operator=(const XmlNode &) = delete;

    // The document node of `data`, or null when it is not well-formed XML.
    // A document type declaration or an entity reference is refused: the
    // format has neither.
    static std::unique_ptr<XmlNode> parse(const QByteArray &data);
    // Serialises a document node (UTF-8, with the declaration it was read with).
    QByteArray toByteArray() const;

    Kind kind() const { return m_kind; }
    QString name() const { return m_name; }
    QString localName() const;
    QString prefix() const;
    // Text, comment or processing-instruction data.
    QString text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }

    bool hasAttribute(const QString &name) const;
    QString attribute(const QString &name) const;
    // Replaces the value in place, or appends a new attribute.
    void setAttribute(const QString &name, const QString &value);
    void removeAttribute(const QString &name);
    const QList<QPair<QString, QString>> &attributes() const { return m_attributes; }

    int childCount() const { return int(m_children.size()); }
    XmlNode *childAt(int index) const { return m_children[size_t(index)].get(); }
    int indexOf(const XmlNode *child) const;
    XmlNode *firstChildElement(const QString &localName) const;
    QList<XmlNode *> childElements(const QString &localName) const;
    XmlNode *documentElement() const;
    XmlNode *insertChild(int index, std::unique_ptr<XmlNode> child);
    XmlNode *appendChild(std::unique_ptr<XmlNode> child);
    void removeChildAt(int index);

    // A new element named `localName` with this element's prefix, so that it
    // lands in the same namespace as its future siblings.
    std::unique_ptr<XmlNode> createElement(const QString &localName) const;
    std::unique_ptr<XmlNode> clone() const;

private:
    void write(QXmlStreamWriter &writer) const;

    Kind m_kind;
    QString m_name;
    QString m_text;
    QList<QPair<QString, QString>> m_attributes;
    std::vector<std::unique_ptr<XmlNode>> m_children;
    // The declaration of a document node.
    QString m_version;
    QString m_encoding;
    bool m_standalone = false;
};

} // namespace QXlsx

#endif // LIB_XLSX_XMLNODE_H
