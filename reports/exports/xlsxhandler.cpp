#include "reports/exports/xlsxhandler.h"

#include "common/constants.h"
#include "lib/xlsx/cellrange.h"
#include "lib/xlsx/document.h"
#include "lib/xlsx/format.h"
#include "records/courseinfo.h"
#include "records/safetext.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "records/utility.h"

#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString kReportFolder = QStringLiteral("./reports/");
const QString kSummaryTemplate = QStringLiteral("/reportTemplate/Template_BaoCaoTongHop.xlsx");
const QString kClassifiedTemplate = QStringLiteral("/reportTemplate/Template_BaoCaoPhanLoai.xlsx");

// A line break in a stored row would be drawn over the rows around it.
QString text(const QString &value)
{
    return SafeText::withoutControls(value);
}

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd-MM-yyyy"));
}

QXlsx::Format dataFormat()
{
    QXlsx::Format format;
    format.setHorizontalAlignment(QXlsx::Format::AlignHCenter);
    format.setVerticalAlignment(QXlsx::Format::AlignVCenter);
    format.setBorderStyle(QXlsx::Format::BorderThin);
    return format;
}

QXlsx::Format footerFormat()
{
    QXlsx::Format format = dataFormat();
    format.setFontBold(true);
    format.setBorderStyle(QXlsx::Format::BorderNone);
    return format;
}

QList<StudentInfo *> rowsOf(const CourseInfo *info)
{
    return info->getStudentList() ? info->getStudentList()->rows() : QList<StudentInfo *>();
}

} // namespace

XlsxHandler::XlsxHandler(QObject *parent) : QObject(parent) {}

bool XlsxHandler::exportSummaryReport(CourseInfo *info)
{
    if (!info)
        return false;
    const CourseReportSummary summary = info->getSummary();
    QXlsx::Document xlsx(QDir::currentPath() + kSummaryTemplate);
    const QXlsx::Format header;
    xlsx.write(1, 1, text(summary.getProvinceName()), header);
    xlsx.write(5, 2, text(summary.getUnitName()), header);
    xlsx.write(6, 2, text(summary.getCourseName()), header);
    xlsx.write(6, 5, summary.getTotal(), header);
    xlsx.write(6, 8, summary.getPass(), header);
    xlsx.write(7, 8, summary.getNotPass(), header);
    xlsx.write(8, 8, summary.getTotal() - summary.getNotPass() - summary.getPass(), header);
    xlsx.write(7, 2, dateText(summary.getContestDate()), header);

    const QXlsx::Format data = dataFormat();
    const QList<StudentInfo *> rows = rowsOf(info);
    int k = 0;
    for (const StudentInfo *student : rows) {
        ++k;
        const int r = 10 + k;
        xlsx.write(r, 1, k, data);
        xlsx.write(r, 2, text(student->getSoBaoDanh()), data);
        xlsx.write(r, 3, text(student->getHoTen()), data);
        xlsx.write(r, 4, dateText(student->getNgaySinh()), data);
        xlsx.write(r, 5, text(student->getSoCMT()), data);
        xlsx.write(r, 6, text(student->getLoaiBang()), data);
        xlsx.write(r, 7, Utility::getInstance()->resultLabel(student->getKetQuaMoPhong()), data);
        xlsx.write(r, 8, text(student->getGhiChu()), data);
    }

    const QXlsx::Format footer = footerFormat();
    const int f = 12 + k;
    xlsx.mergeCells(QXlsx::CellRange(f, 1, f, 3), footer);
    xlsx.write(f, 1, QStringLiteral("TRUNG TÂM SÁT HẠCH"), footer);
    xlsx.mergeCells(QXlsx::CellRange(f, 4, f, 5), footer);
    xlsx.write(f, 4, QStringLiteral("TỔ TRƯỞNG SÁT HẠCH"), footer);
    xlsx.mergeCells(QXlsx::CellRange(f, 6, f, 8), footer);
    xlsx.write(f, 6, QStringLiteral("CHỦ TỊCH HỘI ĐỒNG"), footer);

    return saveAndOpen(xlsx, summaryFileName(summary.getIdKhoaHoc()));
}

bool XlsxHandler::exportClassifiedReport(CourseInfo *info, int type)
{
    QString title;
    QString selected;
    switch (type) {
    case 1:
        title = QStringLiteral("DANH SÁCH THÍ SINH THI ĐẠT SÁT HẠCH MÔ PHỎNG");
        selected = RESULT_PASS;
        break;
    case 0:
        title = QStringLiteral("DANH SÁCH THÍ SINH THI TRƯỢT SÁT HẠCH MÔ PHỎNG");
        selected = RESULT_FAIL;
        break;
    case 2:
        title = QStringLiteral("DANH SÁCH THÍ SINH VẮNG THI SÁT HẠCH MÔ PHỎNG");
        selected = QLatin1String("");
        break;
    default:
        return false;
    }
    if (!info)
        return false;
    const CourseReportSummary summary = info->getSummary();
    QXlsx::Document xlsx(QDir::currentPath() + kClassifiedTemplate);
    const QXlsx::Format header;
    xlsx.write(4, 2, title, header);
    xlsx.write(1, 2, text(summary.getProvinceName()), header);
    xlsx.write(5, 3, text(summary.getUnitName()), header);
    xlsx.write(6, 3, text(summary.getCourseName()), header);
    xlsx.write(7, 3, dateText(summary.getContestDate()), header);

    const QXlsx::Format data = dataFormat();
    int m = 0;
    for (const StudentInfo *student : rowsOf(info)) {
        // Exact equality with the stored code; a null result is the empty one.
        if (student->getKetQuaMoPhong() != selected)
            continue;
        ++m;
        const int r = 10 + m;
        xlsx.write(r, 2, m, data);
        xlsx.write(r, 3, text(student->getSoBaoDanh()), data);
        xlsx.write(r, 4, text(student->getHoTen()), data);
        xlsx.write(r, 5, text(student->getSoCMT()), data);
        xlsx.write(r, 6, dateText(student->getNgaySinh()), data);
        xlsx.write(r, 7, text(student->getDiaChi()), data);
        xlsx.write(r, 8, text(student->getLoaiBang()), data);
        xlsx.write(r, 9, text(student->getGhiChu()), data);
    }

    const QXlsx::Format footer = footerFormat();
    const int f = 14 + m;
    xlsx.write(f, 4, QStringLiteral("TỔ TRƯỞNG TỔ SÁT HẠCH"), footer);
    xlsx.write(f, 7, QStringLiteral("CƠ SỞ ĐÀO TẠO"), footer);

    const int count = type == 1 ? summary.getPass() : type == 0 ? m : summary.getNotContest();
    xlsx.write(6, 6, count, header);

    return saveAndOpen(xlsx, classifiedFileName(summary.getIdKhoaHoc(), type));
}

QString XlsxHandler::summaryFileName(const QString &courseCode)
{
    return kReportFolder + SafeText::fileName(courseCode, QString(), QStringLiteral("_BaoCaoTongHop.xlsx"));
}

QString XlsxHandler::classifiedFileName(const QString &courseCode, int type)
{
    const QString suffix = type == 1 ? QStringLiteral("Dat.xlsx")
        : type == 0                  ? QStringLiteral("Truot.xlsx")
        : type == 2                  ? QStringLiteral("Vang.xlsx")
                                     : QString();
    if (suffix.isEmpty())
        return QString();
    return kReportFolder + SafeText::fileName(courseCode, QString(), QStringLiteral("_BaoCao") + suffix);
}

bool XlsxHandler::saveAndOpen(const QXlsx::Document &document, const QString &fileName) const
{
    // A fresh installation has no report folder yet.
    QDir().mkpath(kReportFolder);
    if (!document.saveAs(fileName)) {
        qDebug() << "XlsxHandler: could not write" << fileName;
        return false;
    }
    // Only a file just written is opened: after a failed save the name could
    // still point at an older report.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
    return true;
}
