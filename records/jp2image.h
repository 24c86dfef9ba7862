#ifndef RECORDS_JP2IMAGE_H
#define RECORDS_JP2IMAGE_H

#include <QByteArray>

// True when the bytes are at least twelve long and start with the JP2
// signature box.
bool isJp2Image(const QByteArray &bytes);

// The JPEG encoding of the JPEG 2000 image given, converted in memory; an
// empty array when the bytes do not decode as JPEG 2000 (callers find out when
// the result fails to load as an image).
QByteArray convertJp2ToJpeg(const QByteArray &bytes);

// A stored photo as the image readers take it: JPEG 2000 (known by its
// signature) converted to JPEG, any other bytes as they are.
QByteArray readablePhoto(const QByteArray &bytes);

#endif // RECORDS_JP2IMAGE_H
