#include "records/courseinfo.h"
#include "records/coursereportsummary.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "reports/exports/xlsxhandler.h"
#include "tests/support/testmain.h"
#include "tests/support/workbookreader.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QString kTemplateDir = QStringLiteral(ORV_XLSX_TEMPLATE_DIR);

struct Row
{
    QString soBaoDanh, hoTen;
    QDate ngaySinh;
    QString soCMT, loaiBang, ketQua, diaChi, ghiChu;
};

// Five candidates: passed, failed, never examined, passed under the accented
// code (counted by the summary, not listed), and one still being examined.
const QList<Row> kRows = {
    {"001", "Nguyễn Văn An", QDate(1990, 1, 2), "12345", "B2", "DAT", "Hà Nội", ""},
    {"002", "Trần Thị Bình", QDate(1985, 12, 31), "001234567890", "B2", "KHONG DAT", "Huế", "ghi chú"},
    {"003", "Lê Văn Cường", QDate(2000, 6, 15), "9876", "C", "", "Đà Nẵng", ""},
    {"004", "Phạm Thu Dung", QDate(1999, 2, 28), "555", "B1", "ĐẠT", "", ""},
    {"005", "Hoàng Minh Em", QDate(2001, 11, 9), "777", "B2", QString(), "Vinh", "đang thi"},
};

CourseInfo *makeCourse(const QList<Row> &rows)
{
    auto *info = new CourseInfo;
    CourseReportSummary summary;
    summary.setProvinceName("Sở Giao thông Vận tải Hà Nam");
    summary.setIdKhoaHoc("K01");
    summary.setUnitName("Trung tâm Đào tạo A");
    summary.setCourseName("Khóa B2 & \"K01\"");
    summary.setContestDate(QDate(2024, 3, 5));
    summary.setTotal(5);
    summary.setNotContest(1);
    summary.setContest(1);
    summary.setContested(3);
    summary.setPass(2);
    summary.setNotPass(1);
    info->setSummary(summary);
    auto *list = new StudentInfoList;
    int id = 0;
    for (const Row &r : rows) {
        auto *s = new StudentInfo;
        s->setID(++id);
        s->setSoBaoDanh(r.soBaoDanh);
        s->setHoTen(r.hoTen);
        s->setNgaySinh(r.ngaySinh);
        s->setSoCMT(r.soCMT);
        s->setLoaiBang(r.loaiBang);
        s->setKetQuaMoPhong(r.ketQua);
        s->setDiaChi(r.diaChi);
        s->setGhiChu(r.ghiChu);
        list->append(s);
    }
    info->setStudentList(list);
    return info;
}

int rowOf(const QString &ref)
{
    static const QRegularExpression digits(QStringLiteral("[0-9]+$"));
    return digits.match(ref).captured().toInt();
}

// Every cell from `firstRow` down that holds a value: reference -> [value, type].
QJsonObject valuesFrom(const QJsonObject &book, int firstRow)
{
    QJsonObject values;
    const QJsonObject cells = book["cells"].toObject();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const QJsonObject cell = it.value().toObject();
        if (rowOf(it.key()) >= firstRow && !cell["value"].isNull())
            values[it.key()] = QJsonArray{cell["value"], cell["type"]};
    }
    return values;
}

QJsonArray text(const QString &value)
{
    return QJsonArray{value, "s"};
}

QJsonArray number(int value)
{
    return QJsonArray{value, "n"};
}

} // namespace

class UrlSpy : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void onOpenUrl(const QUrl &url) { urls.append(url); }
};

class TestXlsxHandler : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_work;
    UrlSpy m_spy;

    QJsonObject readBack(const QString &relative)
    {
        QString error;
        const QJsonObject book = WorkbookReader::read(QDir::current().filePath(relative), &error);
        if (book.isEmpty())
            qWarning().noquote() << error;
        return book;
    }

    void expectFooterCell(const QJsonObject &book, const QString &ref)
    {
        const QJsonObject cell = book["cells"].toObject()[ref].toObject();
        QVERIFY2(cell["bold"].toBool(), qPrintable(ref));
        QVERIFY2(cell["border"].isNull(), qPrintable(ref));
        QCOMPARE(cell["horizontal"].toString(), QStringLiteral("center"));
    }

    void expectDataCell(const QJsonObject &book, const QString &ref)
    {
        const QJsonObject cell = book["cells"].toObject()[ref].toObject();
        QCOMPARE(cell["border"].toString(), QStringLiteral("thin"));
        QVERIFY2(!cell["bold"].toBool(), qPrintable(ref));
        QCOMPARE(cell["horizontal"].toString(), QStringLiteral("center"));
        QCOMPARE(cell["vertical"].toString(), QStringLiteral("center"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QVERIFY(QDir::setCurrent(m_work.path()));
        QVERIFY(QDir().mkpath("reportTemplate"));
        for (const char *name : {"Template_BaoCaoTongHop.xlsx", "Template_BaoCaoPhanLoai.xlsx"})
            QVERIFY(QFile::copy(kTemplateDir + "/" + name, QString("reportTemplate/") + name));
        QDesktopServices::setUrlHandler("file", &m_spy, "onOpenUrl");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("file"); }

    void init()
    {
        m_spy.urls.clear();
        QDir("reports").removeRecursively();
    }

    void summary()
    {
        QScopedPointer<CourseInfo> info(makeCourse(kRows));
        XlsxHandler handler;
        QVERIFY(handler.exportSummaryReport(info.data()));
        const QString file = "reports/K01_BaoCaoTongHop.xlsx";
        QCOMPARE(m_spy.urls, QList<QUrl>{QUrl::fromLocalFile(QDir::current().absoluteFilePath(file))});

        const QJsonObject book = readBack(file);
        QVERIFY(!book.isEmpty());
        const QJsonObject cells = book["cells"].toObject();
        const QList<QPair<QString, QJsonArray>> header = {
            {"A1", text("Sở Giao thông Vận tải Hà Nam")}, {"B5", text("Trung tâm Đào tạo A")},
            {"B6", text("Khóa B2 & \"K01\"")}, {"E6", number(5)}, {"H6", number(2)}, {"H7", number(1)},
            {"H8", number(2)}, {"B7", text("05-03-2024")}};
        for (const auto &h : header) {
            const QJsonObject cell = cells[h.first].toObject();
            QCOMPARE((QJsonArray{cell["value"], cell["type"]}), h.second);
        }
        // Header cells keep the template's look.
        QVERIFY(cells["A1"].toObject()["bold"].toBool());
        QCOMPARE(cells["A1"].toObject()["horizontal"].toString(), QStringLiteral("center"));
        QVERIFY(cells["B5"].toObject()["bold"].toBool());
        QCOMPARE(cells["B5"].toObject()["horizontal"].toString(), QStringLiteral("left"));
        QVERIFY(cells["E6"].toObject()["italic"].toBool());
        QVERIFY(cells["H8"].toObject()["border"].isNull());

        QJsonObject expected{
            {"A11", number(1)}, {"B11", text("001")}, {"C11", text("Nguyễn Văn An")}, {"D11", text("02-01-1990")},
            {"E11", text("12345       ")}, {"F11", text("B2")}, {"G11", text("Đạt")},
            {"A12", number(2)}, {"B12", text("002")}, {"C12", text("Trần Thị Bình")}, {"D12", text("31-12-1985")},
            {"E12", text("001234567890")}, {"F12", text("B2")}, {"G12", text("Không đạt")}, {"H12", text("ghi chú")},
            {"A13", number(3)}, {"B13", text("003")}, {"C13", text("Lê Văn Cường")}, {"D13", text("15-06-2000")},
            {"E13", text("9876        ")}, {"F13", text("C")},
            {"A14", number(4)}, {"B14", text("004")}, {"C14", text("Phạm Thu Dung")}, {"D14", text("28-02-1999")},
            {"E14", text("555         ")}, {"F14", text("B1")},
            {"A15", number(5)}, {"B15", text("005")}, {"C15", text("Hoàng Minh Em")}, {"D15", text("09-11-2001")},
            {"E15", text("777         ")}, {"F15", text("B2")}, {"H15", text("đang thi")},
            {"A17", text("TRUNG TÂM SÁT HẠCH")}, {"D17", text("TỔ TRƯỞNG SÁT HẠCH")},
            {"F17", text("CHỦ TỊCH HỘI ĐỒNG")}};
        QCOMPARE(valuesFrom(book, 11), expected);
        for (const char *ref : {"A11", "E13", "G13", "H11", "H15"})
            expectDataCell(book, ref);
        for (const char *ref : {"A17", "D17", "F17"})
            expectFooterCell(book, ref);
        QCOMPARE(book["merged"].toArray().size(), 7 + 3);
        for (const char *range : {"A17:C17", "D17:E17", "F17:H17"})
            QVERIFY2(book["merged"].toArray().contains(QString(range)), range);
        QVERIFY(book["order_ok"].toBool());
    }

    void classified_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("empty");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("count");

        const QString passed = "DANH SÁCH THÍ SINH THI ĐẠT SÁT HẠCH MÔ PHỎNG";
        const QString failed = "DANH SÁCH THÍ SINH THI TRƯỢT SÁT HẠCH MÔ PHỎNG";
        const QString absent = "DANH SÁCH THÍ SINH VẮNG THI SÁT HẠCH MÔ PHỎNG";
        // The passed and absent lists copy the summary's counters; the failed
        // list counts its own rows.
        QTest::newRow("passed") << 1 << false << "K01_BaoCaoDat.xlsx" << passed << QStringList{"001"} << 2;
        QTest::newRow("failed") << 0 << false << "K01_BaoCaoTruot.xlsx" << failed << QStringList{"002"} << 1;
        QTest::newRow("absent") << 2 << false << "K01_BaoCaoVang.xlsx" << absent << QStringList{"003", "005"} << 1;
        QTest::newRow("passed, empty course") << 1 << true << "K01_BaoCaoDat.xlsx" << passed << QStringList() << 2;
        QTest::newRow("failed, empty course") << 0 << true << "K01_BaoCaoTruot.xlsx" << failed << QStringList() << 0;
        QTest::newRow("absent, empty course") << 2 << true << "K01_BaoCaoVang.xlsx" << absent << QStringList() << 1;
    }

    void classified()
    {
        QFETCH(int, type);
        QFETCH(bool, empty);
        QFETCH(QString, file);
        QFETCH(QString, title);
        QFETCH(QStringList, listed);
        QFETCH(int, count);

        QScopedPointer<CourseInfo> info(makeCourse(empty ? QList<Row>() : kRows));
        XlsxHandler handler;
        QVERIFY(handler.exportClassifiedReport(info.data(), type));
        QCOMPARE(m_spy.urls.size(), 1);
        QCOMPARE(m_spy.urls.first().toLocalFile(), QDir::current().absoluteFilePath("reports/" + file));

        const QJsonObject book = readBack("reports/" + file);
        QVERIFY(!book.isEmpty());
        const QJsonObject cells = book["cells"].toObject();
        QCOMPARE(cells["B4"].toObject()["value"].toString(), title);
        QCOMPARE(cells["B4"].toObject()["size"].toDouble(), 14.0); // the template's title style
        QCOMPARE(cells["B1"].toObject()["value"].toString(), QStringLiteral("Sở Giao thông Vận tải Hà Nam"));
        QCOMPARE(cells["C5"].toObject()["value"].toString(), QStringLiteral("Trung tâm Đào tạo A"));
        QCOMPARE(cells["C6"].toObject()["value"].toString(), QStringLiteral("Khóa B2 & \"K01\""));
        QCOMPARE(cells["C7"].toObject()["value"].toString(), QStringLiteral("05-03-2024"));
        QCOMPARE((QJsonArray{cells["F6"].toObject()["value"], cells["F6"].toObject()["type"]}), number(count));
        QVERIFY(cells["F6"].toObject()["italic"].toBool());

        QJsonObject expected;
        int m = 0;
        for (const QString &sbd : listed) {
            const Row &r = *std::find_if(kRows.begin(), kRows.end(), [&](const Row &x) { return x.soBaoDanh == sbd; });
            const QString n = QString::number(10 + ++m);
            expected["B" + n] = number(m);
            expected["C" + n] = text(r.soBaoDanh);
            expected["D" + n] = text(r.hoTen);
            expected["E" + n] = text(r.soCMT.leftJustified(12, ' '));
            expected["F" + n] = text(r.ngaySinh.toString("dd-MM-yyyy"));
            if (!r.diaChi.isEmpty())
                expected["G" + n] = text(r.diaChi);
            expected["H" + n] = text(r.loaiBang);
            if (!r.ghiChu.isEmpty())
                expected["I" + n] = text(r.ghiChu);
        }
        const QString f = QString::number(14 + m);
        expected["D" + f] = text("TỔ TRƯỞNG TỔ SÁT HẠCH");
        expected["G" + f] = text("CƠ SỞ ĐÀO TẠO");
        QCOMPARE(valuesFrom(book, 11), expected);
        if (m > 0)
            expectDataCell(book, "I11");
        expectFooterCell(book, "D" + f);
        expectFooterCell(book, "G" + f);
        QCOMPARE(book["merged"].toArray().size(), 7); // the template's own, no footer merges
    }

    void emptySummaryPutsFooterOnRow12()
    {
        QScopedPointer<CourseInfo> info(makeCourse({}));
        XlsxHandler handler;
        QVERIFY(handler.exportSummaryReport(info.data()));
        const QJsonObject book = readBack("reports/K01_BaoCaoTongHop.xlsx");
        const QJsonObject expected{{"A12", text("TRUNG TÂM SÁT HẠCH")}, {"D12", text("TỔ TRƯỞNG SÁT HẠCH")},
                                   {"F12", text("CHỦ TỊCH HỘI ĐỒNG")}};
        QCOMPARE(valuesFrom(book, 11), expected);
        QVERIFY(book["merged"].toArray().contains(QString("A12:C12")));
    }

    void exportingTwiceOverwrites()
    {
        XlsxHandler handler;
        QScopedPointer<CourseInfo> first(makeCourse(kRows));
        QVERIFY(handler.exportSummaryReport(first.data()));
        QScopedPointer<CourseInfo> second(makeCourse(kRows.mid(0, 1)));
        QVERIFY(handler.exportSummaryReport(second.data()));
        QCOMPARE(m_spy.urls.size(), 2);
        const QJsonObject book = readBack("reports/K01_BaoCaoTongHop.xlsx");
        QCOMPARE(book["cells"].toObject()["A13"].toObject()["value"].toString(), QStringLiteral("TRUNG TÂM SÁT HẠCH"));
        QVERIFY(book["cells"].toObject()["B15"].toObject()["value"].isNull());
    }

    void failuresWriteNothingAndOpenNothing_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("type"); // -1: the summary
        QTest::newRow("summary template missing") << "no-template" << -1;
        QTest::newRow("classified template missing") << "no-template" << 2;
        QTest::newRow("reports is a file") << "reports-file" << -1;
        QTest::newRow("unknown list type") << "" << 3;
    }

    void failuresWriteNothingAndOpenNothing()
    {
        QFETCH(QString, setup);
        QFETCH(int, type);
        const QString moved = "reportTemplate-away";
        if (setup == "no-template")
            QVERIFY(QDir().rename("reportTemplate", moved));
        if (setup == "reports-file") {
            QFile f("reports");
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QScopedPointer<CourseInfo> info(makeCourse(kRows));
        XlsxHandler handler;
        const bool ok = type < 0 ? handler.exportSummaryReport(info.data())
                                 : handler.exportClassifiedReport(info.data(), type);
        if (setup == "no-template")
            QVERIFY(QDir().rename(moved, "reportTemplate"));
        if (setup == "reports-file")
            QVERIFY(QFile::remove("reports"));
        QVERIFY(!ok);
        QVERIFY(m_spy.urls.isEmpty());
        QVERIFY(QDir("reports").entryList(QDir::Files).isEmpty());
    }

    void nullCourseIsRefused()
    {
        XlsxHandler handler;
        QVERIFY(!handler.exportSummaryReport(nullptr));
        QVERIFY(!handler.exportClassifiedReport(nullptr, 1));
        QVERIFY(m_spy.urls.isEmpty());
    }
};

ORV_TEST_MAIN_GUI(TestXlsxHandler)
#include "tst_xlsxhandler.moc"
