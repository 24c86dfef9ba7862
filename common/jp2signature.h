#ifndef COMMON_JP2SIGNATURE_H
#define COMMON_JP2SIGNATURE_H

#include <QByteArray>

// The signature box that starts every JP2 file: length 12, type "jP  ",
// contents 0D 0A 87 0A. A bare JPEG 2000 codestream has no such box.
const QByteArray JP2_SIGNATURE = QByteArray::fromHex("0000000C6A5020200D0A870A");

#endif // COMMON_JP2SIGNATURE_H
