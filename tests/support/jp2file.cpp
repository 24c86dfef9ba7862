#include "tests/support/jp2file.h"

QByteArray jp2File(FIBITMAP *bitmap)
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
