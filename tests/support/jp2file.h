#ifndef TESTS_SUPPORT_JP2FILE_H
#define TESTS_SUPPORT_JP2FILE_H

// A JPEG 2000 file made by FreeImage itself, as some centres' cameras store
// portraits. The suite links FreeImage.

#include <QByteArray>

#include <FreeImage.h>

// `bitmap` saved as JP2; empty when FreeImage could not save it. The bitmap
// stays the caller's.
QByteArray jp2File(FIBITMAP *bitmap);

#endif // TESTS_SUPPORT_JP2FILE_H
