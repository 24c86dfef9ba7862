#include "reports/exports/commonexportxml.h"

#include "records/safetext.h"

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
    // XML 1.0 has no place for most control characters: one in a stored
    // row would make a strict reader refuse the whole form.
    element.appendChild(document.createTextNode(SafeText::withoutControls(text)));
    return element;
}

QDomElement CommonExportXml::appendEmpty(QDomDocument &document, QDomElement &parent, const QString &name)
{
    QDomElement element = document.createElement(name);
    parent.appendChild(element);
    return element;
}
