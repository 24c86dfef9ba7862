// The four Excel reports as the authority prints them: written from the
// templates with long names, a reset note and a name holding a line break,
// converted by LibreOffice (headless) to PDF, and read back with poppler.
// Every label, value and note must be there whole on A4 pages, and no two
// words may be drawn over each other (a text running into its neighbour's
// cell). ORV_SCREENSHOT_DIR, when set, receives the first page of each as
// PNG for the README.

#include "records/courseinfo.h"
#include "records/coursereportsummary.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "reports/exports/xlsxhandler.h"
#include "tests/support/sheettools.h"
#include "tests/support/testmain.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QString kTemplateDir = QStringLiteral(ORV_XLSX_TEMPLATE_DIR);

const QString kProvince = QStringLiteral("Sở Giao thông Vận tải Thành phố Hồ Chí Minh");
const QString kUnit =
    QStringLiteral("Trung tâm Đào tạo và Sát hạch lái xe Công ty Cổ phần Vận tải Thành Công số Một");
const QString kNote = QStringLiteral("2026-06-26 11:27:22#Máy hỏng, thi lại");
const QString kLongName = QStringLiteral("Nguyễn Thị Thanh Hương Bích Ngọc Phương Anh");
const QString kAddress =
    QStringLiteral("Số 12 ngõ 345 đường Nguyễn Trãi, phường Thanh Xuân Trung, quận Thanh Xuân, Hà Nội");

// A course name of 255 characters, in words.
QString longCourseName()
{
    QString name = QStringLiteral("Khóa đào tạo lái xe ô tô hạng B2 tháng sáu năm hai nghìn không trăm hai mươi sáu");
    while (name.size() < 255)
        name += QStringLiteral(" khóa ") + QString::number(name.size());
    return name.left(255).trimmed();
}

struct Row
{
    QString soBaoDanh, hoTen, ketQua, diaChi, ghiChu;
};

// One of each list, the long texts on the rows the lists share.
const QList<Row> kRows = {
    {"1", kLongName, "DAT", kAddress, kNote},
    {"2", QStringLiteral("Tôn Nữ Hoàng\nLan"), "KHONG DAT", kAddress, kNote},
    {"3", QStringLiteral("Lê Văn Cường"), "", kAddress, kNote},
};

CourseInfo *makeCourse()
{
    auto *info = new CourseInfo;
    CourseReportSummary summary;
    summary.setProvinceName(kProvince);
    summary.setIdKhoaHoc("K02/2026");
    summary.setUnitName(kUnit);
    summary.setCourseName(longCourseName());
    summary.setContestDate(QDate(2026, 6, 26));
    summary.setTotal(3);
    summary.setNotContest(1);
    summary.setContested(2);
    summary.setPass(1);
    summary.setNotPass(1);
    info->setSummary(summary);
    auto *list = new StudentInfoList;
    int id = 0;
    for (const Row &r : kRows) {
        auto *s = new StudentInfo;
        s->setID(++id);
        s->setSoBaoDanh(r.soBaoDanh);
        s->setHoTen(r.hoTen);
        s->setNgaySinh(QDate(1990, 5, 17));
        s->setSoCMT("001090000001");
        s->setLoaiBang("B2");
        s->setKetQuaMoPhong(r.ketQua);
        s->setDiaChi(r.diaChi);
        s->setGhiChu(r.ghiChu);
        list->append(s);
    }
    info->setStudentList(list);
    return info;
}

QString squeezed(QString text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.remove(blanks);
}

struct Word
{
    int page;
    QRectF box;
    QString text;
};

// The words of the PDF with their boxes, by `pdftotext -bbox`.
QList<Word> wordsOf(const QString &pdf)
{
    QProcess process;
    process.start("pdftotext", {"-bbox", pdf, "-"});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression token(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<Word> words;
    int page = 0;
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.append({page, QRectF(topLeft, bottomRight), m.captured(5)});
    }
    return words;
}

} // namespace

class TestReportsOnPaper : public QObject
{
    Q_OBJECT

public slots:
    void ignoreUrl(const QUrl &) {}

private slots:
    void initTestCase();
    void cleanupTestCase();
    void whole_data();
    void whole();

private:
    QTemporaryDir m_work;
    QString m_pdfFolder;
};

void TestReportsOnPaper::initTestCase()
{
    QVERIFY(m_work.isValid());
    QVERIFY(QDir::setCurrent(m_work.path()));
    QVERIFY(QDir().mkpath("reportTemplate"));
    for (const char *name : {"Template_BaoCaoTongHop.xlsx", "Template_BaoCaoPhanLoai.xlsx"})
        QVERIFY(QFile::copy(kTemplateDir + "/" + name, QString("reportTemplate/") + name));
    // Nothing opens the files on the test machine.
    QDesktopServices::setUrlHandler("file", this, "ignoreUrl");

    QScopedPointer<CourseInfo> info(makeCourse());
    XlsxHandler handler;
    QVERIFY(handler.exportSummaryReport(info.data()));
    for (int type : {1, 0, 2})
        QVERIFY(handler.exportClassifiedReport(info.data(), type));
    const QStringList books = QDir("reports").entryList({"*.xlsx"}, QDir::Files, QDir::Name);
    QCOMPARE(books.size(), 4);

    const QString office = QStandardPaths::findExecutable("soffice");
    QVERIFY2(!office.isEmpty(), "LibreOffice (libreoffice-calc) is needed to check the printed reports");
    m_pdfFolder = m_work.filePath("pdf");
    QStringList arguments{"-env:UserInstallation=file://" + m_work.filePath("office-profile"), "--headless",
                          "--convert-to", "pdf", "--outdir", m_pdfFolder};
    for (const QString &book : books)
        arguments << m_work.filePath("reports/" + book);
    QProcess convert;
    convert.setProcessChannelMode(QProcess::MergedChannels);
    convert.start(office, arguments);
    QVERIFY2(convert.waitForFinished(300000), "LibreOffice did not finish in 5 minutes");
    QVERIFY2(convert.exitCode() == 0, convert.readAll().constData());
}

void TestReportsOnPaper::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler("file");
    QDir::setCurrent(QDir::tempPath());
}

void TestReportsOnPaper::whole_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("texts");

    const QStringList header{QStringLiteral("CỘNG HÒA XÃ HỘI CHỦ NGHĨA VIỆT NAM"),
                             QStringLiteral("TRUNG TÂM SÁT HẠCH LÁI XE"), QStringLiteral("Độc lập - Tự do - Hạnh phúc"),
                             kProvince, QStringLiteral("Đơn vị:"), kUnit, QStringLiteral("Khóa học:"), longCourseName(),
                             QStringLiteral("Ngày thi:"), QStringLiteral("26-06-2026")};
    const QStringList headings{QStringLiteral("STT"), QStringLiteral("Số báo danh"), QStringLiteral("Họ và tên"),
                               QStringLiteral("Ngày sinh"), QStringLiteral("Số CMT"), QStringLiteral("Hạng"),
                               QStringLiteral("Ghi chú")};
    QTest::newRow("summary") << "K02_2026_BaoCaoTongHop"
                             << header + headings
            + QStringList{QStringLiteral("BÁO CÁO TỔNG HỢP KẾT QUẢ SÁT HẠCH MÔ PHỎNG"),
                          QStringLiteral("Tổng số thí sinh:"), QStringLiteral("Đạt:"), QStringLiteral("Không đạt:"),
                          QStringLiteral("Vắng/Chưa thi:"), QStringLiteral("Kết quả"), kLongName,
                          QStringLiteral("Tôn Nữ Hoàng Lan"), QStringLiteral("Lê Văn Cường"), kNote,
                          QStringLiteral("TRUNG TÂM SÁT HẠCH"), QStringLiteral("TỔ TRƯỞNG SÁT HẠCH"),
                          QStringLiteral("CHỦ TỊCH HỘI ĐỒNG")};
    const QStringList classified = header + headings
        + QStringList{QStringLiteral("Số thí sinh:"), QStringLiteral("Địa chỉ"), kAddress, kNote,
                      QStringLiteral("TỔ TRƯỞNG TỔ SÁT HẠCH"), QStringLiteral("CƠ SỞ ĐÀO TẠO")};
    QTest::newRow("passed") << "K02_2026_BaoCaoDat"
                            << classified
            + QStringList{QStringLiteral("DANH SÁCH THÍ SINH THI ĐẠT SÁT HẠCH MÔ PHỎNG"), kLongName};
    QTest::newRow("failed") << "K02_2026_BaoCaoTruot"
                            << classified
            + QStringList{QStringLiteral("DANH SÁCH THÍ SINH THI TRƯỢT SÁT HẠCH MÔ PHỎNG"),
                          QStringLiteral("Tôn Nữ Hoàng Lan")};
    QTest::newRow("absent") << "K02_2026_BaoCaoVang"
                            << classified
            + QStringList{QStringLiteral("DANH SÁCH THÍ SINH VẮNG THI SÁT HẠCH MÔ PHỎNG"),
                          QStringLiteral("Lê Văn Cường")};
}

void TestReportsOnPaper::whole()
{
    QFETCH(QString, file);
    QFETCH(QStringList, texts);
    const QString pdf = m_pdfFolder + "/" + file + ".pdf";
    QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
    // The picture first, to be looked at whatever the checks find.
    const QString shots = qEnvironmentVariable("ORV_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        const QString png = SheetTools::renderPage(pdf, 110);
        QVERIFY(!png.isEmpty());
        QFile::remove(shots + "/report-" + file + ".png");
        QVERIFY(QFile::copy(png, shots + "/report-" + file + ".png"));
    }

    // Whole, wherever the lines wrap: in the order the page draws them, a
    // cell's lines one after the other.
    QProcess raw;
    raw.start("pdftotext", {"-raw", pdf, "-"});
    QVERIFY(raw.waitForFinished(60000) && raw.exitCode() == 0);
    const QString text = squeezed(QString::fromUtf8(raw.readAllStandardOutput()));
    QVERIFY(!text.isEmpty());
    for (const QString &expected : texts)
        QVERIFY2(text.contains(squeezed(expected)), qPrintable(file + ": " + expected));

    // A4 portrait, every word on the page and none over another.
    QProcess info;
    info.start("pdfinfo", {pdf});
    QVERIFY(info.waitForFinished(60000));
    QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Page size:\\s+595\\.\\d* x 841\\.\\d* pts \\(A4\\)")));
    const QList<Word> words = wordsOf(pdf);
    QVERIFY(!words.isEmpty());
    const QRectF page(0, 0, 595.3, 841.9);
    for (int i = 0; i < words.size(); ++i) {
        const QRectF &box = words.at(i).box;
        QVERIFY2(page.contains(box), qPrintable(words.at(i).text));
        for (int j = i + 1; j < words.size(); ++j) {
            if (words.at(i).page != words.at(j).page)
                continue;
            // The lines of a wrapped cell touch by their accents; a text
            // drawn over another shares most of its height with it.
            const QRectF common = box.intersected(words.at(j).box);
            const bool over = common.width() > 0.5
                && common.height() > 0.5 * qMin(box.height(), words.at(j).box.height());
            QVERIFY2(!over, qPrintable(file + ": \"" + words.at(i).text + "\" over \"" + words.at(j).text + "\""));
        }
    }
}

ORV_TEST_MAIN_GUI(TestReportsOnPaper)
#include "tst_reportsonpaper.moc"
