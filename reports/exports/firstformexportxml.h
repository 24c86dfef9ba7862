#ifndef REPORTS_EXPORTS_FIRSTFORMEXPORTXML_H
#define REPORTS_EXPORTS_FIRSTFORMEXPORTXML_H

#include "reports/exports/commonexportxml.h"

// The full result form, root "SAT_HACH": a message header, the examination
// and every candidate's file with the simulation result.
class FirstFormExportXml : public CommonExportXml
{
public:
    explicit FirstFormExportXml(MySqlConnection *connection);

    // An unknown course gives empty course values and no candidate.
    QDomDocument build(const QString &courseCode) override;
};

#endif // REPORTS_EXPORTS_FIRSTFORMEXPORTXML_H
