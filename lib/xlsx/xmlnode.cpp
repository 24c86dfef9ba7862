#include "lib/xlsx/xmlnode.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace QXlsx {

XmlNode::XmlNode(Kind kind, const QString &name) : m_kind(kind), m_name(name) {}

XmlNode::~XmlNode() = default;

std::unique_ptr<XmlNode> XmlNode::parse(const QByteArray &data)
{
    auto document = std::make_unique<XmlNode>(Document);
    QXmlStreamReader reader(data);
    // Names stay as written; xmlns declarations come as plain attributes.
    reader.setNamespaceProcessing(false);
    QList<XmlNode *> open{document.get()};
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            document->m_version = reader.documentVersion().toString();
            document->m_encoding = reader.documentEncoding().toString();
            document->m_standalone = reader.isStandaloneDocument();
            break;
        case QXmlStreamReader::StartElement: {
            auto element = std::make_unique<XmlNode>(Element, reader.qualifiedName().toString());
            const QXmlStreamAttributes attributes = reader.attributes();
            for (const QXmlStreamAttribute &a : attributes)
                element->m_attributes.append({a.qualifiedName().toString(), a.value().toString()});
            open.append(open.last()->appendChild(std::move(element)));
            break;
        }
        case QXmlStreamReader::EndElement:
            open.removeLast();
            break;
        case QXmlStreamReader::Characters:
            // Whitespace between the declaration and the root is layout.
            if (open.size() > 1) {
                auto text = std::make_unique<XmlNode>(Text);
                text->m_text = reader.text().toString();
                open.last()->appendChild(std::move(text));
            }
            break;
        case QXmlStreamReader::Comment: {
            auto comment = std::make_unique<XmlNode>(Comment);
            comment->m_text = reader.text().toString();
            open.last()->appendChild(std::move(comment));
            break;
        }
        case QXmlStreamReader::ProcessingInstruction: {
            auto pi = std::make_unique<XmlNode>(ProcessingInstruction,
                                                reader.processingInstructionTarget().toString());
            pi->m_text = reader.processingInstructionData().toString();
            open.last()->appendChild(std::move(pi));
            break;
        }
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            return nullptr;
        default:
            break;
        }
    }
    if (reader.hasError() || !document->documentElement())
        return nullptr;
    return document;
}

QByteArray XmlNode::toByteArray() const
{
    QByteArray out;
    if (!m_version.isEmpty()) {
        out = "<?xml version=\"" + m_version.toUtf8() + "\" encoding=\"UTF-8\"";
        if (m_standalone)
            out += " standalone=\"yes\"";
        out += "?>\r\n";
    }
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly | QIODevice::Append);
    QXmlStreamWriter writer(&buffer);
    for (const auto &child : m_children)
        child->write(writer);
    return out;
}

void XmlNode::write(QXmlStreamWriter &writer) const
{
    switch (m_kind) {
    case Element:
        writer.writeStartElement(m_name);
        for (const auto &a : m_attributes)
            writer.writeAttribute(a.first, a.second);
        for (const auto &child : m_children)
            child->write(writer);
        writer.writeEndElement();
        break;
    case Text:
        writer.writeCharacters(m_text);
        break;
    case Comment:
        writer.writeComment(m_text);
        break;
    case ProcessingInstruction:
        writer.writeProcessingInstruction(m_name, m_text);
        break;
    case Document:
        for (const auto &child : m_children)
            child->write(writer);
        break;
    }
}

QString XmlNode::localName() const
{
    const int colon = m_name.indexOf(QLatin1Char(':'));
    return colon < 0 ? m_name : m_name.mid(colon + 1);
}

QString XmlNode::prefix() const
{
    const int colon = m_name.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : m_name.left(colon);
}

bool XmlNode::hasAttribute(const QString &name) const
{
    for (const auto &a : m_attributes)
        if (a.first == name)
            return true;
    return false;
}

QString XmlNode::attribute(const QString &name) const
{
    for (const auto &a : m_attributes)
        if (a.first == name)
            return a.second;
    return QString();
}

void XmlNode::setAttribute(const QString &name, const QString &value)
{
    for (auto &a : m_attributes) {
        if (a.first == name) {
            a.second = value;
            return;
        }
    }
    m_attributes.append({name, value});
}

void XmlNode::removeAttribute(const QString &name)
{
    for (int i = 0; i < m_attributes.size(); ++i) {
        if (m_attributes.at(i).first == name) {
            m_attributes.removeAt(i);
            return;
        }
    }
}

int XmlNode::indexOf(const XmlNode *child) const
{
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i].get() == child)
            return int(i);
    return -1;
}

XmlNode *XmlNode::firstChildElement(const QString &localName) const
{
    for (const auto &child : m_children)
        if (child->m_kind == Element && child->localName() == localName)
            return child.get();
    return nullptr;
}

QList<XmlNode *> XmlNode::childElements(const QString &localName) const
{
    QList<XmlNode *> found;
    for (const auto &child : m_children)
        if (child->m_kind == Element && child->localName() == localName)
            found.append(child.get());
    return found;
}

XmlNode *XmlNode::documentElement() const
{
    for (const auto &child : m_children)
        if (child->m_kind == Element)
            return child.get();
    return nullptr;
}

XmlNode *XmlNode::insertChild(int index, std::unique_ptr<XmlNode> child)
{
    XmlNode *raw = child.get();
    m_children.insert(m_children.begin() + index, std::move(child));
    return raw;
}

XmlNode *XmlNode::appendChild(std::unique_ptr<XmlNode> child)
{
    return insertChild(childCount(), std::move(child));
}

void XmlNode::removeChildAt(int index)
{
    m_children.erase(m_children.begin() + index);
}

std::unique_ptr<XmlNode> XmlNode::createElement(const QString &localName) const
{
    const QString p = prefix();
    return std::make_unique<XmlNode>(Element, p.isEmpty() ? localName : p + QLatin1Char(':') + localName);
}

std::unique_ptr<XmlNode> XmlNode::clone() const
{
    auto copy = std::make_unique<XmlNode>(m_kind, m_name);
    copy->m_text = m_text;
    copy->m_attributes = m_attributes;
    copy->m_version = m_version;
    copy->m_encoding = m_encoding;
    copy->m_standalone = m_standalone;
    for (const auto &child : m_children)
        copy->m_children.push_back(child->clone());
    return copy;
}

} // namespace QXlsx
