#include "records/jp2image.h"

#include "common/jp2signature.h"

#include <FreeImage.h>

#include <limits>

bool isJp2Image(const QByteArray &bytes)
{
    return bytes.size() >= JP2_SIGNATURE.size() && bytes.startsWith(JP2_SIGNATURE);
}

QByteArray readablePhoto(const QByteArray &bytes)
{
    return isJp2Image(bytes) ? convertJp2ToJpeg(bytes) : bytes;
}

namespace {

// Closes a FreeImage memory stream on every way out.
struct MemoryStream
{
    FIMEMORY *stream;
    explicit MemoryStream(FIMEMORY *s) : stream(s) {}
    ~MemoryStream()
    {
        if (stream)
            FreeImage_CloseMemory(stream);
    }
    MemoryStream(const MemoryStream &) = delete;
    MemoryStream &operator=(const MemoryStream &) = delete;
};

// Unloads a FreeImage bitmap on every way out.
struct Bitmap
{
    FIBITMAP *bitmap;
    explicit Bitmap(FIBITMAP *b) : bitmap(b) {}
    ~Bitmap()
    {
        if (bitmap)
            FreeImage_Unload(bitmap);
    }
    Bitmap(const Bitmap &) = delete;
    Bitmap &operator=(const Bitmap &) = delete;
};

// The JPEG writer takes only 8-bit grey or 24-bit colour.
bool jpegWritable(FIBITMAP *bitmap)
{
    if (FreeImage_GetImageType(bitmap) != FIT_BITMAP)
        return false;
    const unsigned bpp = FreeImage_GetBPP(bitmap);
    return bpp == 24 || (bpp == 8 && FreeImage_GetColorType(bitmap) == FIC_MINISBLACK);
}

} // namespace

QByteArray convertJp2ToJpeg(const QByteArray &bytes)
{
    // Every step is checked: a photo folder may hold anything under a ".jp2"
    // name, and a decoder given a stream it cannot read must not be asked to
    // encode what it did not produce. Only JP2 files go to the decoder.
    if (!isJp2Image(bytes) || static_cast<quint64>(bytes.size()) > std::numeric_limits<DWORD>::max())
        return QByteArray();

    // The stream only reads from the input.
    MemoryStream input(FreeImage_OpenMemory(
        reinterpret_cast<BYTE *>(const_cast<char *>(bytes.constData())), static_cast<DWORD>(bytes.size())));
    if (!input.stream)
        return QByteArray();

    Bitmap decoded(FreeImage_LoadFromMemory(FIF_JP2, input.stream, 0));
    if (!decoded.bitmap)
        return QByteArray();

    // The JPEG writer refuses the rest: 16-bit grey keeps the high byte of
    // each sample, and alpha, palettes or 16-bit colour become 24-bit colour
    // (the 24-bit conversion does not take 16-bit grey at all).
    Bitmap converted(nullptr);
    FIBITMAP *toWrite = decoded.bitmap;
    if (!jpegWritable(toWrite)) {
        converted.bitmap = FreeImage_GetImageType(decoded.bitmap) == FIT_UINT16
            ? FreeImage_ConvertTo8Bits(decoded.bitmap)
            : FreeImage_ConvertTo24Bits(decoded.bitmap);
        if (!converted.bitmap)
            return QByteArray();
        toWrite = converted.bitmap;
    }

    MemoryStream output(FreeImage_OpenMemory(nullptr, 0));
    if (!output.stream)
        return QByteArray();
    if (!FreeImage_SaveToMemory(FIF_JPEG, toWrite, output.stream, 0))
        return QByteArray();

    BYTE *data = nullptr;
    DWORD size = 0;
    if (!FreeImage_AcquireMemory(output.stream, &data, &size) || !data || size == 0)
        return QByteArray();
    if (size > static_cast<DWORD>(std::numeric_limits<int>::max()))
        return QByteArray();
    // Copied before the stream that owns the buffer is closed.
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<int>(size));
}
