#ifndef TESTS_SUPPORT_IMAGEFILE_H
#define TESTS_SUPPORT_IMAGEFILE_H

// Pictures as the bytes of image files, for the suites that store or show
// candidates' photos.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

namespace ImageFile {

// `image` as a file in `format` ("PNG", "JPG").
inline QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A picture of one colour, as a file in `format`.
inline QByteArray filled(int width, int height, const QColor &colour, const char *format = "PNG")
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return encoded(image, format);
}

} // namespace ImageFile

#endif // TESTS_SUPPORT_IMAGEFILE_H
