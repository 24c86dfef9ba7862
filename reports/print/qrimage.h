#ifndef REPORTS_PRINT_QRIMAGE_H
#define REPORTS_PRINT_QRIMAGE_H

#include <QImage>
#include <QString>

#include <qrcodegen/qrcodegen.hpp>

// The symbol as an SVG document: a white square of (size + 2 * border)
// modules with one path of the dark modules. Throws std::domain_error for a
// negative border and std::overflow_error when the size would overflow.
QString toSvgString(const qrcodegen::QrCode &qr, int border);

// The text, as UTF-8, in a QR symbol at error correction HIGH, drawn on a
// 512 by 512 ARGB32 image, which is also saved as "img.png" in the working
// folder (a failure to save is ignored). A text too long for any symbol
// gives a null image and a debug line; nothing is thrown.
QImage makeQrImage(const QString &text);

#endif // REPORTS_PRINT_QRIMAGE_H
