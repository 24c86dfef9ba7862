#ifndef TESTS_SUPPORT_SHEETTOOLS_H
#define TESTS_SUPPORT_SHEETTOOLS_H

// Reading result sheets back with tools that share no code with ours:
// poppler (pdftotext, pdftoppm, pdfimages) and zxing-cpp's ZXingReader.
// Each returns a null value when the tool is missing or fails.

#include <QByteArray>
#include <QString>

namespace SheetTools {

// The bytes of the QR code found in the image file.
QByteArray decodeQr(const QString &imageFile);
// The PDF's text; with layout, lines keep the page's columns.
QString pdfText(const QString &pdfFile, bool layout = false);
// Renders the first page at the resolution given; returns the PNG's path.
QString renderPage(const QString &pdfFile, int dpi);
// Number of images in the PDF (soft masks not counted); -1 when unknown.
int imageCount(const QString &pdfFile);

} // namespace SheetTools

#endif // TESTS_SUPPORT_SHEETTOOLS_H
