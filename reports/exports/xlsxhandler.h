#ifndef REPORTS_EXPORTS_XLSXHANDLER_H
#define REPORTS_EXPORTS_XLSXHANDLER_H

#include <QObject>
#include <QString>

class CourseInfo;
namespace QXlsx {
class Document;
}

// Writes a course's Excel reports from the template workbooks under
// "reportTemplate/" into "./reports/": the summary of every candidate and the
// passed, failed and absent lists. The written file is handed to the desktop
// to open once it is saved.
class XlsxHandler : public QObject
{
    Q_OBJECT

public:
    explicit XlsxHandler(QObject *parent = nullptr);

    // True when the workbook was saved. The caller keeps `info`.
    bool exportSummaryReport(CourseInfo *info);
    // `type`: 1 passed, 0 failed, 2 absent; any other type writes nothing.
    bool exportClassifiedReport(CourseInfo *info, int type);

    // Where the reports of the course coded `courseCode` are written:
    // "./reports/" + the code made a file name by SafeText::fileName +
    // "_BaoCaoTongHop.xlsx", or "_BaoCaoDat.xlsx", "_BaoCaoTruot.xlsx",
    // "_BaoCaoVang.xlsx" for `type` 1, 0, 2; empty for another type.
    static QString summaryFileName(const QString &courseCode);
    static QString classifiedFileName(const QString &courseCode, int type);

private:
    bool saveAndOpen(const QXlsx::Document &document, const QString &fileName) const;
};

#endif // REPORTS_EXPORTS_XLSXHANDLER_H
