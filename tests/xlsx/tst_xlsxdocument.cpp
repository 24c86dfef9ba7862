#include "lib/xlsx/cellrange.h"
#include "lib/xlsx/document.h"
#include "lib/xlsx/format.h"
#include "tests/support/testmain.h"
#include "tests/support/workbookreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

using QXlsx::CellRange;
using QXlsx::Document;
using QXlsx::Format;

namespace {

const QString kFixture = QStringLiteral(ORV_XLSX_FIXTURE);

Format dataFormat()
{
    Format f;
    f.setHorizontalAlignment(Format::AlignHCenter);
    f.setVerticalAlignment(Format::AlignVCenter);
    f.setBorderStyle(Format::BorderThin);
    return f;
}

Format footerFormat()
{
    Format f = dataFormat();
    f.setFontBold(true);
    f.setBorderStyle(Format::BorderNone);
    return f;
}

} // namespace

class TestXlsxDocument : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString out(const QString &name) const { return m_dir.filePath(name); }

    QJsonObject readBack(const QString &path)
    {
        QString error;
        const QJsonObject book = WorkbookReader::read(path, &error);
        if (book.isEmpty())
            qWarning().noquote() << error;
        return book;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFile::exists(kFixture), qPrintable(kFixture));
    }

    void writesValuesWithTheirTypes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QString>("rawType");

        QTest::newRow("int") << QVariant(7) << "n" << QVariant(7) << "";
        QTest::newRow("negative long long") << QVariant(qlonglong(-12345678901)) << "n"
                                            << QVariant(-12345678901.0) << "";
        QTest::newRow("double") << QVariant(2.5) << "n" << QVariant(2.5) << "";
        QTest::newRow("text") << QVariant(QStringLiteral("Nguyễn Văn A")) << "s"
                              << QVariant(QStringLiteral("Nguyễn Văn A")) << "inlineStr";
        QTest::newRow("digits stay text") << QVariant(QStringLiteral("012")) << "s"
                                          << QVariant(QStringLiteral("012")) << "inlineStr";
        QTest::newRow("padded identity number")
            << QVariant(QStringLiteral("12345       ")) << "s" << QVariant(QStringLiteral("12345       "))
            << "inlineStr";
        QTest::newRow("inner blanks") << QVariant(QStringLiteral("a  b\tc")) << "s"
                                      << QVariant(QStringLiteral("a  b\tc")) << "inlineStr";
        QTest::newRow("formula text stays text") << QVariant(QStringLiteral("=1+1")) << "s"
                                                 << QVariant(QStringLiteral("=1+1")) << "inlineStr";
        QTest::newRow("markup characters") << QVariant(QStringLiteral("a & b <c> \"d\"")) << "s"
                                           << QVariant(QStringLiteral("a & b <c> \"d\"")) << "inlineStr";
        QTest::newRow("empty text is a blank cell") << QVariant(QString()) << "n" << QVariant() << "";
    }

    void writesValuesWithTheirTypes()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, type);
        QFETCH(QVariant, expected);
        QFETCH(QString, rawType);

        Document doc(kFixture);
        QVERIFY(doc.write(6, 2, value, dataFormat()));
        const QString path = out(QStringLiteral("values.xlsx"));
        QVERIFY(doc.saveAs(path));
        const QJsonObject book = readBack(path);
        QVERIFY(!book.isEmpty());
        const QJsonObject cell = book["cells"].toObject()["B6"].toObject();
        QCOMPARE(cell["type"].toString(), type);
        if (expected.isValid())
            QCOMPARE(cell["value"].toVariant(), expected);
        else
            QVERIFY(cell["value"].isNull());
        QCOMPARE(book["raw"].toObject()["B6"].toObject()["t"].toString(), rawType);
        QVERIFY(!book["raw"].toObject()["B6"].toObject()["formula"].toBool());
        // Data cells keep their format even when blank.
        QCOMPARE(cell["border"].toString(), QStringLiteral("thin"));
    }

    void controlCharactersKeepTheFileReadable()
    {
        Document doc(kFixture);
        QVERIFY(doc.write(6, 1, QStringLiteral("a\x01" "b\rc _x0041_"), Format()));
        const QString path = out(QStringLiteral("control.xlsx"));
        QVERIFY(doc.saveAs(path));
        const QJsonObject book = readBack(path);
        QVERIFY(!book.isEmpty());
        QCOMPARE(book["cells"].toObject()["A6"].toObject()["type"].toString(), QStringLiteral("s"));
    }

    void formatsAndTemplateStyles()
    {
        Document doc(kFixture);
        // Empty format: the template cell's own style (bold 14, centred).
        QVERIFY(doc.write(1, 2, QStringLiteral("header"), Format()));
        // A template cell with a shared string and a formula overwritten.
        QVERIFY(doc.write(1, 1, 42, Format()));
        QVERIFY(doc.write(1, 3, QStringLiteral("no formula"), Format()));
        // A cell of the implicit second row keeps its style.
        QVERIFY(doc.write(2, 1, QStringLiteral("implicit row"), Format()));
        // New cells: from the row's format, then from the column's.
        QVERIFY(doc.write(3, 2, QStringLiteral("row style"), Format()));
        QVERIFY(doc.write(5, 4, QStringLiteral("column style"), Format()));
        QVERIFY(doc.write(5, 1, QStringLiteral("plain"), Format()));
        QVERIFY(doc.write(7, 1, QStringLiteral("data"), dataFormat()));
        QVERIFY(doc.write(7, 2, QStringLiteral("footer"), footerFormat()));
        const QString path = out(QStringLiteral("formats.xlsx"));
        QVERIFY(doc.saveAs(path));

        const QJsonObject book = readBack(path);
        QVERIFY(!book.isEmpty());
        const QJsonObject cells = book["cells"].toObject();
        const QJsonObject b1 = cells["B1"].toObject();
        QCOMPARE(b1["value"].toString(), QStringLiteral("header"));
        QVERIFY(b1["bold"].toBool());
        QCOMPARE(b1["size"].toDouble(), 14.0);
        QCOMPARE(b1["horizontal"].toString(), QStringLiteral("center"));
        QCOMPARE(cells["A1"].toObject()["value"].toInt(), 42);
        QVERIFY(cells["A1"].toObject()["bold"].toBool());
        QCOMPARE(cells["C1"].toObject()["value"].toString(), QStringLiteral("no formula"));
        QVERIFY(!book["raw"].toObject()["C1"].toObject()["formula"].toBool());
        QCOMPARE(cells["A2"].toObject()["value"].toString(), QStringLiteral("implicit row"));
        QVERIFY(cells["A2"].toObject()["italic"].toBool());
        QCOMPARE(cells["B2"].toObject()["value"].toString(), QStringLiteral("   "));
        QCOMPARE(cells["B3"].toObject()["border"].toString(), QStringLiteral("thin"));
        QVERIFY(cells["B3"].toObject()["bold"].toBool());
        QCOMPARE(cells["D5"].toObject()["border"].toString(), QStringLiteral("thin"));
        QVERIFY(cells["A5"].toObject()["border"].isNull());
        QVERIFY(!cells["A5"].toObject()["bold"].toBool());

        const QJsonObject data = cells["A7"].toObject();
        QCOMPARE(data["border"].toString(), QStringLiteral("thin"));
        QCOMPARE(data["horizontal"].toString(), QStringLiteral("center"));
        QCOMPARE(data["vertical"].toString(), QStringLiteral("center"));
        QVERIFY(!data["bold"].toBool());
        // Formats are built on the workbook's default font.
        QCOMPARE(data["font"].toString(), QStringLiteral("Times New Roman"));
        const QJsonObject footer = cells["B7"].toObject();
        QVERIFY(footer["bold"].toBool());
        QVERIFY(footer["border"].isNull());
        QCOMPARE(footer["horizontal"].toString(), QStringLiteral("center"));
        QCOMPARE(book["dimension"].toString(), QStringLiteral("A1:D7"));
        QVERIFY(book["order_ok"].toBool());
    }

    void mergesRanges()
    {
        Document doc(kFixture);
        QVERIFY(doc.mergeCells(CellRange(12, 1, 12, 3), footerFormat()));
        QVERIFY(doc.write(12, 1, QStringLiteral("TRUNG TÂM"), footerFormat()));
        QVERIFY(doc.mergeCells(CellRange(12, 4, 13, 5), dataFormat()));
        QVERIFY(!doc.mergeCells(CellRange(13, 5, 13, 6), Format())); // overlaps D12:E13
        QVERIFY(!doc.mergeCells(CellRange(3, 3, 2, 2), Format()));   // last before first
        const QString path = out(QStringLiteral("merges.xlsx"));
        QVERIFY(doc.saveAs(path));

        const QJsonObject book = readBack(path);
        QVERIFY(!book.isEmpty());
        QCOMPARE(book["merged"].toArray(), QJsonArray({"A12:C12", "D12:E13"}));
        const QJsonObject cells = book["cells"].toObject();
        QVERIFY(cells["A12"].toObject()["bold"].toBool());
        QCOMPARE(cells["A12"].toObject()["value"].toString(), QStringLiteral("TRUNG TÂM"));
        // Every cell of a merged range carries the range's format (the
        // reader drops the look of covered cells, so their style ids are
        // compared as written).
        const QJsonObject raw = book["raw"].toObject();
        QCOMPARE(raw["B12"].toObject()["s"], raw["A12"].toObject()["s"]);
        QCOMPARE(raw["C12"].toObject()["s"], raw["A12"].toObject()["s"]);
        QCOMPARE(raw["E13"].toObject()["s"], raw["D12"].toObject()["s"]);
        QCOMPARE(cells["D12"].toObject()["border"].toString(), QStringLiteral("thin"));
        // The merge list goes between the cells and the elements after them.
        QVERIFY2(book["order_ok"].toBool(), qPrintable(QJsonDocument(book["children"].toArray()).toJson()));
    }

    void rowHeights()
    {
        Document doc(kFixture);
        QVERIFY(doc.write(12, 2, QStringLiteral("Nguyễn Thị Thanh Hương Bích Ngọc Phương Anh"), dataFormat()));
        QVERIFY(doc.setRowHeight(12, 31.5));
        QVERIFY(doc.setRowHeight(20, 46.5)); // a row not there yet
        QVERIFY(!doc.setRowHeight(0, 20));
        QVERIFY(!doc.setRowHeight(13, 0));
        const QString path = out(QStringLiteral("heights.xlsx"));
        QVERIFY(doc.saveAs(path));

        // The rows as a reader of the file sees them.
        QProcess python;
        python.start("/usr/bin/python3",
                     {"-c", "import sys, openpyxl\n"
                            "s = openpyxl.load_workbook(sys.argv[1]).active\n"
                            "print(*[f'{r}:{s.row_dimensions[r].height}:{s.row_dimensions[r].customHeight}'"
                            " for r in (12, 13, 20)])",
                      path});
        QVERIFY(python.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
                 QStringLiteral("12:31.5:True 13:None:False 20:46.5:True"));
        QCOMPARE(readBack(path)["cells"].toObject()["B12"].toObject()["value"].toString(),
                 QStringLiteral("Nguyễn Thị Thanh Hương Bích Ngọc Phương Anh"));
    }

    void untouchedPartsAreCopied_data()
    {
        QTest::addColumn<bool>("deflated");
        QTest::addColumn<bool>("edit");
        QTest::newRow("stored, edited") << false << true;
        QTest::newRow("deflated, edited") << true << true;
        QTest::newRow("deflated, nothing written") << true << false;
    }

    void untouchedPartsAreCopied()
    {
        QFETCH(bool, deflated);
        QFETCH(bool, edit);
        QString source = kFixture;
        if (deflated) {
            source = out(QStringLiteral("deflated-template.xlsx"));
            QFile::remove(source);
            QVERIFY(WorkbookReader::deflatedCopy(kFixture, source));
        }
        Document doc(source);
        if (edit)
            QVERIFY(doc.write(4, 4, 1, dataFormat()));
        const QString path = out(QStringLiteral("copy.xlsx"));
        QVERIFY(doc.saveAs(path));

        const QJsonObject before = readBack(source)["parts"].toObject();
        const QJsonObject after = readBack(path)["parts"].toObject();
        QCOMPARE(after.keys(), before.keys());
        for (const QString &name : before.keys()) {
            const bool edited = edit && (name == "xl/worksheets/sheet1.xml" || name == "xl/styles.xml");
            if (edited)
                QVERIFY2(before[name] != after[name], qPrintable(name));
            else
                QVERIFY2(before[name] == after[name], qPrintable(name));
        }
    }

    void invalidTemplates_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("missing");
        QTest::newRow("missing") << QByteArray() << true;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("not a zip") << QByteArray("<html>no workbook</html>") << false;
    }

    void invalidTemplates()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, missing);
        const QString source = out(QStringLiteral("bad-template.xlsx"));
        QFile::remove(source);
        if (!missing) {
            QFile f(source);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        Document doc(source);
        QVERIFY(!doc.write(1, 1, 1, Format()));
        QVERIFY(!doc.mergeCells(CellRange(1, 1, 1, 2), Format()));
        const QString path = out(QStringLiteral("from-bad.xlsx"));
        QVERIFY(!doc.saveAs(path));
        QVERIFY(!QFile::exists(path));
    }

    void damagedParts_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("sheet not XML") << "xl/worksheets/sheet1.xml" << QByteArray("<worksheet><sheetData>");
        QTest::newRow("styles without formats")
            << "xl/styles.xml" << QByteArray("<styleSheet xmlns=\"x\"><fonts/><borders/></styleSheet>");
        QTest::newRow("workbook without sheets") << "xl/workbook.xml" << QByteArray("<workbook xmlns=\"x\"/>");
        QTest::newRow("entity in sheet")
            << "xl/worksheets/sheet1.xml"
            << QByteArray("<!DOCTYPE w [<!ENTITY e \"x\">]><worksheet><sheetData>&e;</sheetData></worksheet>");
    }

    void damagedParts()
    {
        QFETCH(QString, part);
        QFETCH(QByteArray, content);
        const QString source = out(QStringLiteral("damaged.xlsx"));
        QFile::remove(source);
        const QString script = QStringLiteral(
            "import sys, zipfile\n"
            "with zipfile.ZipFile(sys.argv[1]) as s, zipfile.ZipFile(sys.argv[2], 'w') as d:\n"
            "    for i in s.infolist():\n"
            "        d.writestr(i.filename, sys.argv[4].encode() if i.filename == sys.argv[3] else s.read(i.filename))\n");
        QCOMPARE(QProcess::execute("/usr/bin/python3", {"-c", script, kFixture, source, part, QString::fromUtf8(content)}), 0);
        Document doc(source);
        QVERIFY(!doc.write(1, 1, 1, Format()));
        QVERIFY(!doc.saveAs(out(QStringLiteral("from-damaged.xlsx"))));
    }

    void saveReplacesAndFailsCleanly()
    {
        const QString path = out(QStringLiteral("twice.xlsx"));
        {
            Document doc(kFixture);
            QVERIFY(doc.write(5, 1, QStringLiteral("first"), Format()));
            QVERIFY(doc.saveAs(path));
        }
        {
            Document doc(kFixture);
            QVERIFY(doc.write(5, 1, QStringLiteral("second"), Format()));
            QVERIFY(doc.saveAs(path));
            QVERIFY(!doc.saveAs(out(QStringLiteral("no-such-folder/x.xlsx"))));
        }
        QCOMPARE(readBack(path)["cells"].toObject()["A5"].toObject()["value"].toString(), QStringLiteral("second"));
        QVERIFY(!doc_outOfRange());
    }

private:
    static bool doc_outOfRange()
    {
        Document doc(kFixture);
        return doc.write(0, 1, 1, Format()) || doc.write(1, 0, 1, Format()) || doc.write(1048577, 1, 1, Format());
    }
};

ORV_TEST_MAIN_CORE(TestXlsxDocument)
#include "tst_xlsxdocument.moc"
