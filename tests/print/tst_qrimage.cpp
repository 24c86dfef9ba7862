// The QR symbol's SVG and image: the image read back by an independent
// decoder gives exactly the text encoded.
#include "reports/print/qrimage.h"
#include "tests/support/sheettools.h"
#include "tests/support/testmain.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <stdexcept>

class TestQrImage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void svgOfSmallestSymbol()
    {
        const qrcodegen::QrCode qr = qrcodegen::QrCode::encodeText("1", qrcodegen::QrCode::Ecc::LOW);
        QCOMPARE(qr.getSize(), 21);
        const QString svg = toSvgString(qr, 4);
        const QStringList lines = svg.split('\n');
        QCOMPARE(lines.size(), 7); // six parts, each ending in a line feed
        QCOMPARE(lines.at(0), QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        QCOMPARE(lines.at(1), QString("<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
                                      "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">"));
        QCOMPARE(lines.at(2), QString("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" "
                                      "viewBox=\"0 0 29 29\" stroke=\"none\">"));
        QCOMPARE(lines.at(3), QString("\t<rect width=\"29\" height=\"29\" fill=\"#FFFFFF\"/>"));
        QVERIFY(lines.at(4).startsWith("\t<path d=\"M4,4h1v1h-1z M5,4h1v1h-1z "));
        QVERIFY(lines.at(4).endsWith("h1v1h-1z\" fill=\"#000000\"/>"));
        QCOMPARE(lines.at(5), QString("</svg>"));
        QCOMPARE(lines.at(6), QString());

        // One entry per dark module.
        int dark = 0;
        for (int y = 0; y < qr.getSize(); ++y)
            for (int x = 0; x < qr.getSize(); ++x)
                dark += qr.getModule(x, y) ? 1 : 0;
        QCOMPARE(lines.at(4).count("h1v1h-1z"), dark);
    }

    void badBorders()
    {
        const qrcodegen::QrCode qr = qrcodegen::QrCode::encodeText("1", qrcodegen::QrCode::Ecc::LOW);
        try {
            toSvgString(qr, -1);
            QFAIL("a negative border was accepted");
        } catch (const std::domain_error &error) {
            QCOMPARE(QString(error.what()), QString("Border must be non-negative"));
        }
        try {
            toSvgString(qr, INT_MAX / 2);
            QFAIL("an overflowing border was accepted");
        } catch (const std::overflow_error &error) {
            QCOMPARE(QString(error.what()), QString("Border too large"));
        }
    }

    void imageDecodesToTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << "SBD: 17\nSignature: abc=\n";
        QTest::newRow("Vietnamese as UTF-8")
            << QString::fromUtf8("Nguyễn Thị Hồng Nhung\nKhóa thi: K01\nKết quả: Không đạt\n");
        QTest::newRow("long text: more modules than Qt's SVG reader takes") << QString::fromUtf8("Trường Sơn Đông ").repeated(30);
    }
    void imageDecodesToTheText()
    {
        QFETCH(QString, text);
        QFile::remove("img.png");
        const QImage image = makeQrImage(text);
        QCOMPARE(image.size(), QSize(512, 512));
        QCOMPARE(image.format(), QImage::Format_ARGB32);
        QVERIFY(QFile::exists("img.png"));
        QCOMPARE(QImage("img.png").convertToFormat(QImage::Format_ARGB32), image);
        QCOMPARE(SheetTools::decodeQr("img.png"), text.toUtf8());
    }

    void textTooLongGivesNoImage()
    {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^makeQrImage: no QR code for a text of 4000 characters"));
        const QImage image = makeQrImage(QString(4000, QChar(0x1EA1)));
        QVERIFY(image.isNull());
    }
};

ORV_TEST_MAIN_GUI(TestQrImage)
#include "tst_qrimage.moc"
