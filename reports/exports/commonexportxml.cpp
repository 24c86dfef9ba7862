#include "reports/exports/commonexportxml.h"

CommonExportXml::CommonExportXml(MySqlConnection *connection) : m_connection(connection) {}

CommonExportXml::~CommonExportXml() = default;

QDomDocument CommonExportXml::newDocument()
{
    QDomDocument document;
    document.appendChild(
        document.createProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version='1.0' encoding='UTF-8'")));
    return document;
}

QDomElement CommonExportXml::appendText(QDomDocument &document, QDomElement &parent, const QString &name,
                                        const QString &text)
{
    QDomElement element = appendEmpty(document, parent, name);
    element.appendChild(document.createTextNode(text));
    return element;
}

QDomElement CommonExportXml::appendEmpty(QDomDocument &document, QDomElement &parent, const QString &name)
{
    QDomElement element = document.createElement(name);
    parent.appendChild(element);
    return element;
}
