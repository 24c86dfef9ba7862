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

// The templates' column widths, in characters of their font, from column A.
const QList<double> kSummaryWidths = {11, 13, 26, 17, 16, 7, 15, 22};
const QList<double> kClassifiedWidths = {2, 11, 13, 26, 16, 12, 30, 7, 22};
// A line of the templates' 12-point font, and the default row holding one.
const double kLineHeight = 15.0;
const double kDefaultRowHeight = 15.75;

// The lines a text takes in a wrapping cell `width` characters wide, every
// small letter counted as wide as a digit and a capital as one and a half
// (wider than most letters of the font, so that a row is rather too tall
// than too short); a word longer than a line is broken.
int linesOf(const QString &text, double width)
{
    const double perLine = qMax(1.0, width - 2);
    int lines = 1;
    double used = 0;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        double size = 0;
        for (const QChar c : word)
            size += c.isUpper() ? 1.5 : 1.0;
        if (used > 0 && used + 1 + size <= perLine) {
            used += 1 + size;
            continue;
        }
        if (used > 0) {
            ++lines;
            used = 0;
        }
        for (; size > perLine; size -= perLine)
            ++lines;
        used = size;
    }
    return lines;
}

// The texts of one row, each with the columns (from 1) its cell spans.
struct RowText
{
    QString text;
    int firstColumn;
    int lastColumn;
};

// LibreOffice keeps a row at the height the file gives: a row whose texts
// wrap is given the height of its tallest cell.
void fitRow(QXlsx::Document &xlsx, int row, const QList<RowText> &texts, const QList<double> &widths)
{
    int lines = 1;
    for (const RowText &cell : texts) {
        double width = 0;
        for (int c = cell.firstColumn; c <= cell.lastColumn && c <= widths.size(); ++c)
            width += widths.at(c - 1);
        lines = qMax(lines, linesOf(cell.text, width));
    }
    if (lines > 1)
        xlsx.setRowHeight(row, qMax(kDefaultRowHeight, lines * kLineHeight + 1.5));
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
    // The province spans A1:C1, the unit B5:H5 and the course name B6:C6.
    fitRow(xlsx, 1, {{text(summary.getProvinceName()), 1, 3}}, kSummaryWidths);
    fitRow(xlsx, 5, {{text(summary.getUnitName()), 2, 8}}, kSummaryWidths);
    fitRow(xlsx, 6, {{text(summary.getCourseName()), 2, 3}}, kSummaryWidths);

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
        fitRow(xlsx, r,
               {{text(student->getSoBaoDanh()), 2, 2}, {text(student->getHoTen()), 3, 3},
                {text(student->getSoCMT()), 5, 5}, {text(student->getLoaiBang()), 6, 6},
                {text(student->getGhiChu()), 8, 8}},
               kSummaryWidths);
    }

    const QXlsx::Format footer = footerFormat();
    const int f = 12 + k;
    xlsx.mergeCells(QXlsx::CellRange(f, 1, f, 3), footer);
    xlsx.write(f, 1, QStringLiteral("TRUNG TÂM SÁT HẠCH"), footer);
    xlsx.mergeCells(QXlsx::CellRange(f, 4, f, 5), footer);
    xlsx.write(f, 4, QStringLiteral("TỔ TRƯỞNG SÁT HẠCH"), footer);
    xlsx.mergeCells(QXlsx::CellRange(f, 6, f, 8), footer);
    xlsx.write(f, 6, QStringLiteral("CHỦ TỊCH HỘI ĐỒNG"), footer);
    fitRow(xlsx, f,
           {{QStringLiteral("TRUNG TÂM SÁT HẠCH"), 1, 3}, {QStringLiteral("TỔ TRƯỞNG SÁT HẠCH"), 4, 5},
            {QStringLiteral("CHỦ TỊCH HỘI ĐỒNG"), 6, 8}},
           kSummaryWidths);

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
    // The province spans B1:D1, the unit C5:I5 and the course name C6:D6.
    fitRow(xlsx, 1, {{text(summary.getProvinceName()), 2, 4}}, kClassifiedWidths);
    fitRow(xlsx, 5, {{text(summary.getUnitName()), 3, 9}}, kClassifiedWidths);
    fitRow(xlsx, 6, {{text(summary.getCourseName()), 3, 4}}, kClassifiedWidths);

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
        fitRow(xlsx, r,
               {{text(student->getSoBaoDanh()), 3, 3}, {text(student->getHoTen()), 4, 4},
                {text(student->getSoCMT()), 5, 5}, {text(student->getDiaChi()), 7, 7},
                {text(student->getLoaiBang()), 8, 8}, {text(student->getGhiChu()), 9, 9}},
               kClassifiedWidths);
    }

    const QXlsx::Format footer = footerFormat();
    const int f = 14 + m;
    xlsx.write(f, 4, QStringLiteral("TỔ TRƯỞNG TỔ SÁT HẠCH"), footer);
    xlsx.write(f, 7, QStringLiteral("CƠ SỞ ĐÀO TẠO"), footer);
    fitRow(xlsx, f, {{QStringLiteral("TỔ TRƯỞNG TỔ SÁT HẠCH"), 4, 4}, {QStringLiteral("CƠ SỞ ĐÀO TẠO"), 7, 7}},
           kClassifiedWidths);

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
