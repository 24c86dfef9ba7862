// The report engine's core without widgets: templates, variables, copied
// tables, painting and PDF (read back with poppler's pdftotext).
#include "lib/report/reportengine.h"
#include "tests/support/testmain.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTemporaryDir>

namespace {

// Variables and a table in text items, an image bound to a variable, lines
// and boxes.
const char *SMALL =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<report version=\"1\" name=\"small\">\n"
    " <page width=\"100\" height=\"60\" margin-left=\"5\" margin-top=\"5\">\n"
    "  <box x=\"0\" y=\"0\" width=\"90\" height=\"50\" border=\"0.3\"/>\n"
    "  <text x=\"2\" y=\"2\" width=\"86\" height=\"8\">Họ tên: [$V{Name}] điểm [$V{Score}]</text>\n"
    "  <text x=\"2\" y=\"10\" width=\"86\" height=\"8\">Ô: [$D{result.1}] [$D{result.Hai}] [$D{result.9}] "
    "[$D{nothing.1}] [$V{Picture}]</text>\n"
    "  <line x1=\"0\" y1=\"20\" x2=\"90\" y2=\"20\" width=\"0.5\"/>\n"
    "  <image x=\"60\" y=\"25\" width=\"20\" height=\"20\" variable=\"Picture\"/>\n"
    " </page>\n"
    "</report>\n";

QString pdfText(const QString &file)
{
    QProcess process;
    process.start("pdftotext", {file, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QImage redSquare()
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

// Whether the page, drawn at 100 dpi, has red where the image item sits.
bool redAtPicture(const LimeReport::ReportEngine &engine)
{
    const QImage page = engine.renderPageToImage(100);
    // Item centre (5 + 70 mm, 5 + 35 mm) at 100 dpi.
    return page.pixelColor(qRound(75 / 25.4 * 100), qRound(40 / 25.4 * 100)) == QColor(Qt::red);
}

bool allWhite(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if (rgb.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void variablesAndTableInPdf()
    {
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SMALL));
        QCOMPARE(engine.pageSize(), QSizeF(100, 60));
        engine.dataManager()->setReportVariable("Name", QString::fromUtf8("Đặng Thị Ánh Nguyệt"));
        engine.dataManager()->setReportVariable("Score", 47);
        {
            QStandardItemModel model(1, 2);
            model.setHorizontalHeaderLabels({"Mot", "Hai"});
            model.setItem(0, 0, new QStandardItem(QString::fromUtf8("ướt")));
            model.setItem(0, 1, new QStandardItem("b2"));
            QVERIFY(engine.dataManager()->addModel("result", &model, false));
        }
        // The model is gone; its cells were copied.
        const QString file = m_dir.filePath("small.pdf");
        QVERIFY(engine.printToPDF(file));
        const QString text = pdfText(file);
        QVERIFY2(text.contains(QString::fromUtf8("Họ tên: [Đặng Thị Ánh Nguyệt] điểm [47]")), qPrintable(text));
        // Missing columns, sources and image variables give nothing.
        QVERIFY2(text.contains(QString::fromUtf8("Ô: [ướt] [b2] [] [] []")), qPrintable(text));
    }

    void ownedModelIsDeleted()
    {
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SMALL));
        QPointer<QStandardItemModel> model = new QStandardItemModel(1, 1);
        QVERIFY(engine.dataManager()->addModel("result", model, true));
        QVERIFY(model.isNull());
        QVERIFY(!engine.dataManager()->addModel("result", nullptr, false));
        QVERIFY(!engine.dataManager()->addModel("", new QStandardItemModel(this), false));
    }

    void unsetVariablesRenderEmpty()
    {
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SMALL));
        QVERIFY(!engine.dataManager()->variable("Name").isValid());
        const QString file = m_dir.filePath("unset.pdf");
        QVERIFY(engine.printToPDF(file));
        QVERIFY(pdfText(file).contains(QString::fromUtf8("Họ tên: [] điểm []")));
    }

    void imageItemDrawsOnlyAnImage_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("red");
        QTest::newRow("image") << QVariant(redSquare()) << true;
        QTest::newRow("integer 0") << QVariant(0) << false;
        QTest::newRow("null image") << QVariant(QImage()) << false;
        QTest::newRow("unset") << QVariant() << false;
    }
    void imageItemDrawsOnlyAnImage()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, red);
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SMALL));
        if (value.isValid())
            engine.dataManager()->setReportVariable("Picture", value);
        QCOMPARE(redAtPicture(engine), red);
    }

    // Nothing of one sheet shows on the next.
    void reloadClearsVariablesAndTables()
    {
        const QString path = m_dir.filePath("small.lrxml");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(SMALL);
        file.close();

        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromFile(path, false));
        engine.dataManager()->setReportVariable("Picture", redSquare());
        engine.dataManager()->setReportVariable("Name", "first");
        QStandardItemModel model(1, 1);
        engine.dataManager()->addModel("result", &model, false);
        QVERIFY(redAtPicture(engine));

        QVERIFY(engine.loadFromFile(path, false));
        QVERIFY(!engine.dataManager()->variable("Name").isValid());
        QVERIFY(!redAtPicture(engine));
        engine.dataManager()->setReportVariable("Picture", redSquare());
        QVERIFY(engine.loadFromByteArray(SMALL));
        QVERIFY(!engine.dataManager()->variable("Picture").isValid());
        const QString pdf = m_dir.filePath("reloaded.pdf");
        QVERIFY(engine.printToPDF(pdf));
        QVERIFY(pdfText(pdf).contains(QString::fromUtf8("Ô: [] [] []")));
    }

    void badTemplates_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not XML") << QByteArray("\x89PNG\r\n");
        QTest::newRow("unclosed") << QByteArray("<report version=\"1\"><page><text x=\"1\" y=\"1\" width=\"1\"");
        QTest::newRow("other document") << QByteArray("<html><page/></html>");
        QTest::newRow("other version") << QByteArray("<report version=\"2\"><page/></report>");
        QTest::newRow("no page") << QByteArray("<report version=\"1\"/>");
        QTest::newRow("two pages") << QByteArray("<report version=\"1\"><page/><page/></report>");
        QTest::newRow("unknown item") << QByteArray("<report version=\"1\"><page><circle/></page></report>");
        QTest::newRow("item missing its size")
            << QByteArray("<report version=\"1\"><page><text x=\"1\" y=\"1\">a</text></page></report>");
        QTest::newRow("not a number") << QByteArray(
            "<report version=\"1\"><page><box x=\"a\" y=\"1\" width=\"1\" height=\"1\"/></page></report>");
        QTest::newRow("negative length") << QByteArray(
            "<report version=\"1\"><page><box x=\"1\" y=\"1\" width=\"-1\" height=\"1\"/></page></report>");
        QTest::newRow("image without variable") << QByteArray(
            "<report version=\"1\"><page><image x=\"1\" y=\"1\" width=\"1\" height=\"1\"/></page></report>");
        QTest::newRow("bad colour") << QByteArray("<report version=\"1\"><page><text x=\"1\" y=\"1\" width=\"1\" "
                                                  "height=\"1\" color=\"#zz\">a</text></page></report>");
        QTest::newRow("element inside text") << QByteArray("<report version=\"1\"><page><text x=\"1\" y=\"1\" "
                                                           "width=\"1\" height=\"1\">a<b/></text></page></report>");
    }
    void badTemplates()
    {
        QFETCH(QByteArray, bytes);
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SMALL));
        engine.dataManager()->setReportVariable("Name", "left over");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^ReportEngine: template not loaded"));
        QVERIFY(!engine.loadFromByteArray(bytes));
        QVERIFY(!engine.lastError().isEmpty());
        QVERIFY(!engine.dataManager()->variable("Name").isValid());
        // A blank A4 page, drawn and written without trouble.
        QCOMPARE(engine.pageSize(), QSizeF(210, 297));
        QVERIFY(allWhite(engine.renderPageToImage(30)));
        QVERIFY(engine.printToPDF(m_dir.filePath("blank.pdf")));
    }

    void missingTemplateFile()
    {
        LimeReport::ReportEngine engine;
        QVERIFY(!engine.loadFromFile(m_dir.filePath("nowhere.lrxml"), false));
        QVERIFY(engine.lastError().contains("nowhere.lrxml"));
        QVERIFY(allWhite(engine.renderPageToImage(30)));
    }

    void pdfToAnUnwritablePlace()
    {
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SMALL));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^ReportEngine::printToPDF: cannot write"));
        QVERIFY(!engine.printToPDF(m_dir.filePath("no/such/folder/x.pdf")));
        QVERIFY(!engine.printToPDF(QString()));
    }
};

ORV_TEST_MAIN_GUI(TestReportEngine)
#include "tst_reportengine.moc"
