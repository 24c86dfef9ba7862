#ifndef LIB_REPORT_IDATASOURCEMANAGER_H
#define LIB_REPORT_IDATASOURCEMANAGER_H

#include <QString>
#include <QVariant>

class QAbstractItemModel;

namespace LimeReport {

// What a report's caller fills in before the sheet is drawn: named variables
// ($V{name} in the template) and table data sources ($D{source.column}).
class IDataSourceManager
{
public:
    // Replaces the variable's value. Images (QImage) feed image items; any
    // other value is drawn as its text.
    virtual void setReportVariable(const QString &name, const QVariant &value) = 0;
    // An invalid QVariant when the variable was never set.
    virtual QVariant variable(const QString &name) = 0;
    // Copies the model's cells (display role) and header texts at once, so
    // the model may go away before the report is drawn. With owned true the
    // model is deleted once copied. False for a null model or an empty name.
    virtual bool addModel(const QString &name, QAbstractItemModel *model, bool owned) = 0;

protected:
    virtual ~IDataSourceManager() = default;
};

} // namespace LimeReport

#endif // LIB_REPORT_IDATASOURCEMANAGER_H
