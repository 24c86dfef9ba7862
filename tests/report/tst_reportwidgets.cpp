// The parts of the report engine that need widgets: the preview and the
// printer.
#include "lib/report/previewreportwidget.h"
#include "lib/report/reportengine.h"
#include "tests/support/modalanswer.h"
#include "tests/support/testmain.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

namespace {

const char *SHEET = "<report version=\"1\"><page width=\"210\" height=\"297\">"
                    "<text x=\"10\" y=\"10\" width=\"100\" height=\"10\">$V{Name}</text>"
                    "</page></report>";

} // namespace

class TestReportWidgets : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void previewDrawsThePage()
    {
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SHEET));
        std::unique_ptr<LimeReport::PreviewReportWidget> preview(engine.createPreviewWidget());
        QVERIFY(preview->pageImage().isNull());
        preview->refreshPages();
        // A4 at 96 dpi.
        QCOMPARE(preview->pageImage().size(), QSize(794, 1123));
    }

    void printingWithoutAPrinter()
    {
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SHEET));
        QTest::ignoreMessage(QtWarningMsg, "ReportEngine::printReport: no printer");
        QVERIFY(!engine.printReport(nullptr));
        QPrinter printer;
        printer.setPrinterName("no-such-printer");
        if (printer.isValid())
            QSKIP("this machine has a printer of that name");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^ReportEngine::printReport: no printer available"));
        QVERIFY(!engine.printReport(&printer));
    }

    // The printer path draws the same page: printed to a PDF file.
    void printingToAFilePrinter()
    {
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SHEET));
        engine.dataManager()->setReportVariable("Name", QString::fromUtf8("Vũ Thị Thu"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath("printed.pdf"));
        QVERIFY(engine.printReport(&printer));
        QVERIFY(QFile(m_dir.filePath("printed.pdf")).size() > 0);
    }

    void pdfThroughTheFileDialog_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written");
        QTest::newRow("name without suffix") << "sheet" << "sheet.pdf";
        QTest::newRow("name with suffix") << "other.pdf" << "other.pdf";
        QTest::newRow("cancelled") << "" << "";
    }
    void pdfThroughTheFileDialog()
    {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        LimeReport::ReportEngine engine;
        QVERIFY(engine.loadFromByteArray(SHEET));
        std::unique_ptr<LimeReport::PreviewReportWidget> preview(engine.createPreviewWidget());
        std::unique_ptr<ModalAnswer> chooser =
            ModalAnswer::of<QFileDialog>(ModalAnswer::choose(answer.isEmpty() ? QString() : m_dir.filePath(answer)));
        QCOMPARE(preview->printToPDF(), !written.isEmpty());
        QVERIFY(chooser->answered());
        if (!written.isEmpty())
            QVERIFY(QFile::exists(m_dir.filePath(written)));
    }
};

ORV_TEST_MAIN_WIDGETS(TestReportWidgets)
#include "tst_reportwidgets.moc"
