#ifndef TESTS_SUPPORT_IMAGEFILE_H
#define TESTS_SUPPORT_IMAGEFILE_H

// Pictures as the bytes of image files, for the suites that store or show
// candidates' photos.

#include <QByteArray>
#include <QColor>
#include <QImage>

namespace ImageFile {

// `image` as a file in `format` ("PNG", "JPG").
QByteArray encoded(const QImage &image, const char *format);

// A picture of one colour, as a file in `format`.
QByteArray filled(int width, int height, const QColor &colour, const char *format = "PNG");

} // namespace ImageFile

#endif // TESTS_SUPPORT_IMAGEFILE_H
