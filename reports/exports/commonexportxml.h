#ifndef REPORTS_EXPORTS_COMMONEXPORTXML_H
#define REPORTS_EXPORTS_COMMONEXPORTXML_H

#include <QDomDocument>
#include <QDomElement>
#include <QString>

class MySqlConnection;

// A result document for the road authority, built for one course from the
// main database. The creator lends its own connection, which must outlive
// the builder.
class CommonExportXml
{
public:
    explicit CommonExportXml(MySqlConnection *connection);
    // Builders are deleted through this base.
    virtual ~CommonExportXml();
    CommonExportXml(const CommonExportXml &) = delete;
    CommonExportXml &operator=(const CommonExportXml &) = delete;

    virtual QDomDocument build(const QString &courseCode) = 0;

protected:
    MySqlConnection *connection() const { return m_connection; }

    // A new document holding the declaration the authority's forms start with.
    static QDomDocument newDocument();
    // Appends element `name` with one text child, even for an empty text.
    static QDomElement appendText(QDomDocument &document, QDomElement &parent, const QString &name,
                                  const QString &text);
    // Appends element `name` without content.
    static QDomElement appendEmpty(QDomDocument &document, QDomElement &parent, const QString &name);

private:
    MySqlConnection *m_connection;
};

#endif // REPORTS_EXPORTS_COMMONEXPORTXML_H
