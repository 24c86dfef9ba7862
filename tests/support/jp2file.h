#ifndef TESTS_SUPPORT_JP2FILE_H
#define TESTS_SUPPORT_JP2FILE_H

// A JPEG 2000 file made by FreeImage itself, as some centres' cameras store
// portraits. The suite links FreeImage.

#include <QByteArray>

#include <FreeImage.h>

// `bitmap` saved as JP2; empty when FreeImage could not save it. The bitmap
// stays the caller's.
inline QByteArray jp2File(FIBITMAP *bitmap)
{
    QByteArray bytes;
    FIMEMORY *stream = FreeImage_OpenMemory(nullptr, 0);
    if (FreeImage_SaveToMemory(FIF_JP2, bitmap, stream, 0)) {
        BYTE *data = nullptr;
        DWORD size = 0;
        if (FreeImage_AcquireMemory(stream, &data, &size))
            bytes = QByteArray(reinterpret_cast<const char *>(data), static_cast<int>(size));
    }
    FreeImage_CloseMemory(stream);
    return bytes;
}

#endif // TESTS_SUPPORT_JP2FILE_H
