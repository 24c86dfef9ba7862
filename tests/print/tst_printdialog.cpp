// The printing dialog: template checks, refusals, the sheet's contents
// (read back from its PDF with poppler) and its QR code (decoded from the
// rendered page), for the interactive and the automatic sheet.
#include "common/constants.h"
#include "lib/report/reportengine.h"
#include "lib/report/reporttemplate.h"
#include "records/reportinfo.h"
#include "reports/print/printdialog.h"
#include "reports/print/sheetintegrity.h"
#include "tests/support/imagefile.h"
#include "tests/support/jp2file.h"
#include "tests/support/modalanswer.h"
#include "tests/support/sheetfolder.h"
#include "tests/support/sheettools.h"
#include "tests/support/testmain.h"

#include <FreeImage.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QThread>

namespace {

const QByteArray KEY = "6d0f3a8c5e2b71d94f0a6c3e8b5d27f1a9";

QString jpegPortrait()
{
    return QString::fromLatin1(ImageFile::filled(120, 160, QColor(90, 130, 190), "JPG").toBase64());
}

// A JPEG 2000 file, as some centres' cameras store portraits.
QString jp2Portrait()
{
    FIBITMAP *bitmap = FreeImage_Allocate(60, 80, 24);
    if (!bitmap)
        return QString();
    RGBQUAD blue = {200, 120, 60, 0};
    FreeImage_FillBackground(bitmap, &blue);
    const QByteArray bytes = jp2File(bitmap);
    FreeImage_Unload(bitmap);
    return QString::fromLatin1(bytes.toBase64());
}

ReportInfo candidate(int score = 42, bool resultValid = true)
{
    ReportInfo info;
    info.setProvinceName(QString::fromUtf8("SỞ GIAO THÔNG VẬN TẢI ĐỒNG NAI"));
    info.setName(QString::fromUtf8("Phạm Thị Ngọc Hường"));
    info.setDateOfBirth("01.02.1990");
    info.setId("079090001234");
    info.setRank("B2");
    info.setOrderNumber("17");
    info.setScore(score);
    info.setResult(score >= 35 ? "DAT" : "KHONG DAT");
    info.setCourse("K05");
    info.setContestDate("10.12.2026");
    info.setPlace(QString::fromUtf8("Trung tâm sát hạch Quyết Thắng"));
    info.setAnswers("5;4;5;3;5;4;5;5;4;2|1;2");
    info.setResultValid(resultValid);
    info.setAttemptCount(1);
    return info;
}

QPushButton *button(PrintDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(name);
}

// Answers the next modal window for as long as it lives and writes down what
// it was: "box: <title> / <text>" for a message box (answered Ok), "file
// dialog" for a file dialog (given `saveAs`, or cancelled when that is
// empty), else the window's class name (cancelled).
std::unique_ptr<ModalAnswer> answerNext(QString *seen, const QString &saveAs = QString())
{
    return ModalAnswer::of<QWidget>(
        [seen, saveAs](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                *seen = "box: " + box->windowTitle() + " / " + box->text();
                ModalAnswer::press(QMessageBox::Ok)(box);
            } else if (auto *files = qobject_cast<QFileDialog *>(modal)) {
                *seen = "file dialog";
                if (saveAs.isEmpty()) {
                    files->reject();
                } else {
                    files->selectFile(saveAs);
                    static_cast<QDialog *>(files)->accept(); // QFileDialog::accept is protected
                }
            } else {
                *seen = modal->metaObject()->className();
                if (auto *dialog = qobject_cast<QDialog *>(modal))
                    dialog->reject();
                else
                    modal->close();
            }
        },
        ModalAnswer::NoTimeout);
}

} // namespace

class TestPrintDialog : public QObject
{
    Q_OBJECT

private:
    // The text of the interactive sheet, written through the Pdf button and
    // its file dialog; null when no PDF came out.
    QString exportPdf(PrintDialog &dialog, const QString &path, bool layout = false)
    {
        QFile::remove(path);
        QString seen;
        std::unique_ptr<ModalAnswer> answer = answerNext(&seen, path);
        button(dialog, "pbToPdf")->click();
        if (seen != "file dialog" || !QFile::exists(path))
            return QString();
        return SheetTools::pdfText(path, layout);
    }

private slots:
    void validity_data()
    {
        QTest::addColumn<QString>("templateState");
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("resultValid");
        QTest::addColumn<bool>("templateValid");
        QTest::addColumn<QString>("onFill");
        QTest::addColumn<QString>("onPdf");
        QTest::addColumn<QString>("onPrint");

        const QString templateChanged =
            QString::fromUtf8("box: Cảnh báo / Không in báo cáo do tập tin mẫu báo cáo đã bị thay đổi!!!");
        const QString resultRefused = QString::fromUtf8(
            "box: Cảnh báo / Không in báo cáo do thí sinh chưa thi hoặc kết quả thi đã bị can thiệp!!!");
        const QString allowedPdf = "file dialog";
        const QString allowedPrint = "QPrintDialog";

        QTest::newRow("valid result") << "shipped" << 42 << true << true << "" << allowedPdf << allowedPrint;
        QTest::newRow("not examined") << "shipped" << -1 << false << true << "" << resultRefused << resultRefused;
        QTest::newRow("not examined, caller allows it")
            << "shipped" << -1 << true << true << "" << allowedPdf << allowedPrint;
        QTest::newRow("checksum changed") << "shipped" << 42 << false << true << "" << resultRefused << resultRefused;
        QTest::newRow("template altered by one byte")
            << "altered" << 42 << true << false << "" << templateChanged << templateChanged;
        QTest::newRow("template altered, result changed too")
            << "altered" << 42 << false << false << "" << templateChanged << templateChanged;
        QTest::newRow("template missing")
            << "missing" << 42 << true << false
            << QString::fromUtf8("box: Cảnh báo / Tập tin mẫu báo cáo không tồn tại") << templateChanged
            << templateChanged;
    }
    void validity()
    {
        QFETCH(QString, templateState);
        QFETCH(int, score);
        QFETCH(bool, resultValid);
        QFETCH(bool, templateValid);
        QFETCH(QString, onFill);
        QFETCH(QString, onPdf);
        QFETCH(QString, onPrint);

        SheetFolder folder;
        QVERIFY(folder.isValid());
        if (templateState == "altered")
            QVERIFY(folder.alterTemplate("orv04.lrxml"));
        else if (templateState == "missing")
            QVERIFY(folder.removeTemplate("orv04.lrxml"));

        PrintDialog dialog;
        QVERIFY(dialog.isTemplateValid());
        {
            QString seen;
            std::unique_ptr<ModalAnswer> answer = answerNext(&seen);
            dialog.setDetail(candidate(score, resultValid));
            QCOMPARE(seen, onFill);
        }
        QCOMPARE(dialog.isTemplateValid(), templateValid);
        {
            QString seen;
            std::unique_ptr<ModalAnswer> answer = answerNext(&seen);
            button(dialog, "pbToPdf")->click();
            QCOMPARE(seen, onPdf);
        }
        {
            QString seen;
            std::unique_ptr<ModalAnswer> answer = answerNext(&seen);
            button(dialog, "pbPrint")->click();
            QCOMPARE(seen, onPrint);
        }
    }

    // The templates as shipped: the code wide enough to scan from paper, the
    // stamp drawn last, over the result.
    void shippedTemplates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("interactive") << "orv04.lrxml";
        QTest::newRow("automatic") << "orv04_new.lrxml";
    }
    void shippedTemplates()
    {
        QFETCH(QString, name);
        QFile file(QString(ORV_SOURCE_DIR) + "/reportTemplate/" + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        LimeReport::ReportTemplate sheet;
        QVERIFY2(sheet.parse(file.readAll()), qPrintable(sheet.errorString()));
        QCOMPARE(sheet.pageSize(), QSizeF(210, 297));
        QRectF qr, result;
        for (const LimeReport::ReportItem &item : sheet.items()) {
            if (item.type == LimeReport::ReportItem::Image && item.variable == "QRCode")
                qr = item.rect;
            if (item.type == LimeReport::ReportItem::Text && item.text == "$V{Result}")
                result = item.rect;
        }
        QVERIFY(qr.width() >= 35 && qr.height() >= 35);
        const LimeReport::ReportItem &last = sheet.items().constLast();
        QCOMPARE(last.variable, QString("Cancel"));
        QVERIFY(last.rect.intersects(result));
    }

    void answerCells_data()
    {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QString>("row");
        QTest::newRow("eleven fields, the third empty")
            << "c1;c2;;c4;c5;c6;c7;c8;c9;c10;c11|c12;c13" << "c1 c2 c4 c5 c6 c7 c8 c9 c10";
        QTest::newRow("ten fields, no bar") << "c1;c2;c3;c4;c5;c6;c7;c8;c9;c10" << "c1 c2 c3 c4 c5 c6 c7 c8 c9 c10";
        QTest::newRow("three fields fill three cells") << "c1;c2;c3|c4" << "c1 c2 c3";
        QTest::newRow("empty answers") << "" << "";
    }
    void answerCells()
    {
        QFETCH(QString, answers);
        QFETCH(QString, row);
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog;
        ReportInfo info = candidate();
        info.setAnswers(answers);
        dialog.setDetail(info);
        const QString text = exportPdf(dialog, folder.filePath("sheet.pdf"), true);
        QVERIFY(!text.isNull());
        // The row of points starts with its label alone in the first column.
        const QRegularExpression points(QString::fromUtf8("^\\s*Điểm(?! từng)(.*)$"),
                                        QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = points.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        QCOMPARE(match.captured(1).simplified(), row);
    }

    void validSheetAfterChangedOne()
    {
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog;
        dialog.setDetail(candidate(42, false));
        dialog.setDetail(candidate(42, true));
        const QString path = folder.filePath("valid.pdf");
        const QString text = exportPdf(dialog, path);
        QVERIFY(!text.isNull());
        QVERIFY(!text.contains(MSG_RESULT_CHANGED));
        QVERIFY(text.contains(QString::fromUtf8("Đạt")));
        // The QR code and no stamp.
        QCOMPARE(SheetTools::imageCount(path), 1);
    }

    void interactivePdf()
    {
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog;
        ReportInfo info = candidate(42, true);
        info.setAvatar(jpegPortrait());
        dialog.setDetail(info);
        const QString path = folder.filePath("K05_17.pdf");
        const QString text = exportPdf(dialog, path);
        QVERIFY(!text.isNull());
        for (const QString &expected : {info.getName(), info.getPlace(), info.getProvinceName(),
                                        QString("079090001234"), QString::fromUtf8("Đạt"), QString("42")})
            QVERIFY2(text.contains(expected), qPrintable(expected));
        QVERIFY(!text.contains(MSG_STUDENT_NOT_EXAMINED));
        QCOMPARE(SheetTools::imageCount(path), 2); // portrait and code
        const QByteArray qr = SheetTools::decodeQr(SheetTools::renderPage(path, 150));
        QCOMPARE(qr, signQrText(resultSheetQrText(info), KEY).toUtf8());
        // The code's image is kept in the working folder too.
        QCOMPARE(SheetTools::decodeQr(folder.filePath("img.png")), qr);
    }

    void closeButton()
    {
        SheetFolder folder;
        PrintDialog dialog;
        dialog.show();
        QSignalSpy closed(&dialog, &PrintDialog::printClose);
        button(dialog, "pbClose")->click();
        QCOMPARE(closed.count(), 1);
        QVERIFY(dialog.isHidden());
    }

    void automaticVariables_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("resultValid");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<QVariant>("scoreVariable");
        QTest::addColumn<QVariant>("warning");
        QTest::addColumn<bool>("stamp");

        QStringList counted;
        for (int i = 1; i <= 10; ++i)
            counted << QString::number(i);
        const QString ten = "1;2;3;4;5;6;7;8;9;10";
        QTest::newRow("valid, eleven fields and a second part")
            << 42 << true << ten + ";11|12" << counted << QVariant(42) << QVariant() << false;
        QTest::newRow("ten fields") << 42 << true << ten << counted << QVariant(42) << QVariant() << false;
        QTest::newRow("nine fields: every point 0")
            << 42 << true << "1;2;3;4;5;6;7;8;9|10;11" << QStringList(QVector<QString>(10, "0").toList())
            << QVariant(42) << QVariant() << false;
        QTest::newRow("empty answers: empty points")
            << 42 << true << "" << QStringList(QVector<QString>(10, "").toList()) << QVariant(42) << QVariant()
            << false;
        QTest::newRow("not examined") << -1 << false << ten << counted << QVariant(QString(""))
                                      << QVariant(MSG_STUDENT_NOT_EXAMINED) << false;
        QTest::newRow("checksum changed")
            << 42 << false << ten << counted << QVariant(42) << QVariant(MSG_RESULT_CHANGED) << true;
    }
    void automaticVariables()
    {
        QFETCH(int, score);
        QFETCH(bool, resultValid);
        QFETCH(QString, answers);
        QFETCH(QStringList, points);
        QFETCH(QVariant, scoreVariable);
        QFETCH(QVariant, warning);
        QFETCH(bool, stamp);

        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog(nullptr, 60000);
        ReportInfo info = candidate(score, resultValid);
        info.setAnswers(answers);
        dialog.setDetail2(&info);
        QCOMPARE(dialog.getReportList().size(), 1);
        LimeReport::IDataSourceManager *data = dialog.getReportList().at(0)->dataManager();
        for (int i = 0; i < 10; ++i)
            QCOMPARE(data->variable(QString("Point%1").arg(i + 1)), QVariant(points.at(i)));
        QCOMPARE(data->variable("Score"), scoreVariable);
        QCOMPARE(data->variable("Warning"), warning);
        QCOMPARE(data->variable("Cancel").userType() == QMetaType::QImage
                     && !data->variable("Cancel").value<QImage>().isNull(),
                 stamp);
        if (!stamp)
            QVERIFY(!data->variable("Cancel").isValid());
        QCOMPARE(data->variable("OrderNumber").toInt(), 17);
        QCOMPARE(data->variable("Course").toString(), QString("K05"));
        // The interactive flags are the preview's alone.
        QVERIFY(dialog.isTemplateValid());
    }

    void automaticPdf_data()
    {
        QTest::addColumn<bool>("resultValid");
        QTest::addColumn<int>("images");
        QTest::newRow("valid") << true << 2;
        QTest::newRow("checksum changed: warning and stamp") << false << 3;
    }
    void automaticPdf()
    {
        QFETCH(bool, resultValid);
        QFETCH(int, images);
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog(nullptr, 60000);
        ReportInfo info = candidate(20, resultValid);
        info.setAvatar(jpegPortrait());
        dialog.setDetail2(&info);
        QCOMPARE(dialog.getReportList().size(), 1);
        const QString path = folder.filePath("K05_17.pdf");
        QVERIFY(dialog.getReportList().at(0)->printToPDF(path));
        const QString text = SheetTools::pdfText(path);
        QVERIFY(text.contains(info.getName()));
        // The result stays readable under the stamp.
        QVERIFY(text.contains(QString::fromUtf8("Không đạt")));
        QCOMPARE(text.contains(MSG_RESULT_CHANGED), !resultValid);
        QCOMPARE(SheetTools::imageCount(path), images);
        const QByteArray qr = SheetTools::decodeQr(SheetTools::renderPage(path, 150));
        QCOMPARE(qr, signQrText(resultSheetQrText(info), KEY).toUtf8());
    }

    void portrait_data()
    {
        QTest::addColumn<QString>("avatar");
        QTest::addColumn<QSize>("size");
        QTest::newRow("JPEG") << jpegPortrait() << QSize(120, 160);
        QTest::newRow("JPEG 2000, converted") << jp2Portrait() << QSize(60, 80);
        QTest::newRow("no portrait") << QString() << QSize(0, 0);
        QTest::newRow("not a picture") << QString::fromLatin1(QByteArray("not a picture").toBase64()) << QSize(0, 0);
    }
    void portrait()
    {
        QFETCH(QString, avatar);
        QFETCH(QSize, size);
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog(nullptr, 60000);
        ReportInfo info = candidate();
        info.setAvatar(avatar);
        if (size.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, "PrintDialog::setDetail2: Can't load image file");
        dialog.setDetail2(&info);
        QCOMPARE(dialog.getReportList().size(), 1);
        const QImage portrait = dialog.getReportList().at(0)->dataManager()->variable("Avatar").value<QImage>();
        QCOMPARE(portrait.size(), size);
    }

    // The notifier's announcement, as the main window takes it.
    void announcementReachesTheGuiThread()
    {
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog(nullptr, 300);
        QObject receiver;
        QThread *receivedOn = nullptr;
        int received = -1;
        QObject::connect(&dialog, &PrintDialog::notifyPrintReport, &receiver, [&](int index) {
            received = index;
            receivedOn = QThread::currentThread();
        });
        ReportInfo info = candidate();
        dialog.setDetail2(&info);
        QTRY_COMPARE_WITH_TIMEOUT(received, 0, 20000);
        QCOMPARE(receivedOn, qApp->thread());
    }

    // The automatic path runs for every result: a text too long for a code
    // must not end the server.
    void qrTextTooLong()
    {
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog(nullptr, 60000);
        ReportInfo info = candidate();
        info.setAvatar(jpegPortrait());
        info.setName(QString(3000, QChar(0x1EA1)));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^makeQrImage: no QR code"));
        dialog.setDetail2(&info);
        // The sheet is still built and queued, without its code.
        QCOMPARE(dialog.getReportList().size(), 1);
        LimeReport::IDataSourceManager *data = dialog.getReportList().at(0)->dataManager();
        QVERIFY(data->variable("QRCode").value<QImage>().isNull());
        QVERIFY(dialog.getReportList().at(0)->printToPDF(folder.filePath("sheet.pdf")));
    }
};

ORV_TEST_MAIN_WIDGETS(TestPrintDialog)
#include "tst_printdialog.moc"
