#ifndef REPORTS_EXPORTS_SECONDFORMEXPORTXML_H
#define REPORTS_EXPORTS_SECONDFORMEXPORTXML_H

#include "reports/exports/commonexportxml.h"

// The compact result form, root "DULIEU_SATHACH": one "THI_SINH" per
// candidate with the simulation block filled and the other three empty.
class SecondFormExportXml : public CommonExportXml
{
public:
    explicit SecondFormExportXml(MySqlConnection *connection);

    QDomDocument build(const QString &courseCode) override;
};

#endif // REPORTS_EXPORTS_SECONDFORMEXPORTXML_H
