// Candidate photos in JPEG 2000 are recognised and converted to a JPEG the
// terminals and the result sheet can load; anything else is refused without
// harm. Images are only decoded and encoded: no GUI application is needed.

#include "common/jp2signature.h"
#include "records/jp2image.h"
#include "tests/support/imagefile.h"
#include "tests/support/jp2file.h"
#include "tests/support/testmain.h"

#include <FreeImage.h>

#include <QImage>
#include <QRandomGenerator>

namespace {

const int WIDTH = 48;
const int HEIGHT = 32;

// A JP2 file made by FreeImage itself: left half red, right half blue, in the
// given depth (8 or 16 grey, 24 colour, 32 colour with alpha); grey is dark
// on the left and light on the right.
QByteArray makeJp2(unsigned bpp)
{
    FIBITMAP *bitmap = bpp == 16 ? FreeImage_AllocateT(FIT_UINT16, WIDTH, HEIGHT, 16)
                                 : FreeImage_Allocate(WIDTH, HEIGHT, static_cast<int>(bpp), FI_RGBA_RED_MASK,
                                                      FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
    if (!bitmap)
        return QByteArray();
    if (bpp == 8) {
        RGBQUAD *palette = FreeImage_GetPalette(bitmap);
        for (int i = 0; i < 256; ++i)
            palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
    }
    const unsigned bytesPerPixel = bpp / 8;
    for (int y = 0; y < HEIGHT; ++y) {
        BYTE *line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < WIDTH; ++x) {
            BYTE *pixel = line + x * bytesPerPixel;
            const bool left = x < WIDTH / 2;
            if (bpp == 16) {
                reinterpret_cast<WORD *>(line)[x] = left ? 40 * 257 : 220 * 257;
                continue;
            }
            if (bpp == 8) {
                pixel[0] = left ? 40 : 220;
                continue;
            }
            pixel[FI_RGBA_RED] = left ? 230 : 10;
            pixel[FI_RGBA_GREEN] = 10;
            pixel[FI_RGBA_BLUE] = left ? 10 : 230;
            if (bpp == 32)
                pixel[FI_RGBA_ALPHA] = 255;
        }
    }
    const QByteArray bytes = jp2File(bitmap);
    FreeImage_Unload(bitmap);
    return bytes;
}

QByteArray makeJpeg()
{
    return ImageFile::filled(WIDTH, HEIGHT, Qt::darkGreen, "JPG");
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = static_cast<char>(generator.bounded(256));
    return bytes;
}

} // namespace

class TestJp2Image : public QObject
{
    Q_OBJECT

private slots:
    void convertsToLoadableJpeg_data();
    void convertsToLoadableJpeg();
    void refusesWhatIsNotJp2_data();
    void refusesWhatIsNotJp2();
    void damagedJp2DoesNotCrash_data();
    void damagedJp2DoesNotCrash();
};

void TestJp2Image::convertsToLoadableJpeg_data()
{
    QTest::addColumn<unsigned>("bpp");
    QTest::addColumn<bool>("colour");
    QTest::newRow("24-bit colour") << 24u << true;
    // An alpha channel is refused by the JPEG writer unless flattened.
    QTest::newRow("32-bit with alpha") << 32u << true;
    QTest::newRow("8-bit grey") << 8u << false;
    QTest::newRow("16-bit grey") << 16u << false;
}

void TestJp2Image::convertsToLoadableJpeg()
{
    QFETCH(unsigned, bpp);
    QFETCH(bool, colour);
    const QByteArray jp2 = makeJp2(bpp);
    QVERIFY2(!jp2.isEmpty(), "FreeImage could not write a JP2 file");
    QVERIFY(isJp2Image(jp2));

    const QByteArray jpeg = convertJp2ToJpeg(jp2);
    QVERIFY(jpeg.startsWith("\xFF\xD8"));
    QImage image;
    QVERIFY(image.loadFromData(jpeg, "JPG"));
    QCOMPARE(image.size(), QSize(WIDTH, HEIGHT));

    // Rows are not flipped and colours not swapped on the way.
    const QColor left = image.pixelColor(4, HEIGHT / 2);
    const QColor right = image.pixelColor(WIDTH - 5, HEIGHT / 2);
    if (colour) {
        QVERIFY2(left.red() > 180 && left.blue() < 70, qPrintable(left.name()));
        QVERIFY2(right.blue() > 180 && right.red() < 70, qPrintable(right.name()));
    } else {
        QVERIFY2(qAbs(left.value() - 40) < 25, qPrintable(left.name()));
        QVERIFY2(qAbs(right.value() - 220) < 25, qPrintable(right.name()));
    }
}

void TestJp2Image::refusesWhatIsNotJp2_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("eleven signature bytes") << JP2_SIGNATURE.left(11);
    QTest::newRow("jpeg") << makeJpeg();
    QTest::newRow("garbage") << randomBytes(4096, 1);
    QTest::newRow("signature one byte off") << QByteArray(JP2_SIGNATURE).replace(11, 1, "\x0B") + randomBytes(64, 2);
    // A bare codestream has no signature box; photos are JP2 files.
    QTest::newRow("codestream") << QByteArray::fromHex("FF4FFF51") + randomBytes(64, 3);
}

void TestJp2Image::refusesWhatIsNotJp2()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!isJp2Image(bytes));
    QVERIFY(convertJp2ToJpeg(bytes).isEmpty());
}

void TestJp2Image::damagedJp2DoesNotCrash_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("mustBeEmpty");
    const QByteArray jp2 = makeJp2(24);
    QTest::newRow("signature only") << JP2_SIGNATURE << true;
    QTest::newRow("signature and garbage") << JP2_SIGNATURE + randomBytes(2048, 4) << true;
    QTest::newRow("signature and zeros") << JP2_SIGNATURE + QByteArray(512, '\0') << true;
    // A cut file may still decode in part; it only must not bring us down.
    QTest::newRow("cut in half") << jp2.left(jp2.size() / 2) << false;
    QTest::newRow("headers only") << jp2.left(100) << false;
    QByteArray scrambled = jp2;
    for (int i = 200; i < scrambled.size(); i += 7)
        scrambled[i] = static_cast<char>(scrambled.at(i) ^ 0x5A);
    QTest::newRow("scrambled body") << scrambled << false;
}

void TestJp2Image::damagedJp2DoesNotCrash()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, mustBeEmpty);
    QVERIFY(isJp2Image(bytes));
    const QByteArray jpeg = convertJp2ToJpeg(bytes);
    if (mustBeEmpty)
        QVERIFY(jpeg.isEmpty());
    else if (!jpeg.isEmpty())
        QVERIFY(!QImage::fromData(jpeg, "JPG").isNull());
}

ORV_TEST_MAIN_CORE(TestJp2Image)
#include "tst_jp2image.moc"
