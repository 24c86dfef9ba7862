#include "server/protocol/basemessage.h"

#include "server/protocol/aescipher.h"
#include "server/protocol/messagetypes.h"

#include <vector>

BaseMessage::BaseMessage(quint8 type, quint16 length)
    : m_length(length), m_type(type)
{
}

BaseMessage::~BaseMessage() = default;

int BaseMessage::parseEncrypted(const char *, int, AesCipher *)
{
    return 0;
}

quint16 BaseMessage::getLength() const
{
    return m_length;
}

quint8 BaseMessage::getType() const
{
    return m_type;
}

void BaseMessage::setLength(quint16 length)
{
    m_length = length;
}

void BaseMessage::setType(quint8 type)
{
    m_type = type;
}

int BaseMessage::parseEncryptedAs(const char *payload, int size, AesCipher *cipher,
                                  quint8 plainType)
{
    const int headerSize = 1 + AesCipher::BLOCK_SIZE;
    if (cipher == nullptr || payload == nullptr || size <= AesCipher::BLOCK_SIZE)
        return -1;
    const int pad = static_cast<quint8>(payload[0]);
    const int cipherSize = size - headerSize;
    if (cipherSize <= 0 || cipherSize % AesCipher::BLOCK_SIZE != 0)
        return -1;
    if (cipherSize - pad < 0)
        return -1;

    std::vector<char> plain(payload + headerSize, payload + size);
    if (!cipher->decryptCbcWithIv(payload + 1, plain.data(), cipherSize))
        return -1;
    const int plainSize = cipherSize - pad;
    if (parse(plain.data(), plainSize) < 0)
        return -1;
    setType(plainType);
    setLengthFrom(qint64(plainSize) + FRAME_HEADER_SIZE);
    return 0;
}

void BaseMessage::setLengthFrom(qint64 frameLength)
{
    // A message too large for a frame keeps a length its own serialize
    // refuses (the room derived from it is always too small), so the frame
    // writer never sends a wrapped length.
    m_length = static_cast<quint16>(frameLength);
}

bool BaseMessage::fits(qint64 needed, qint64 available)
{
    return needed <= available;
}

qint32 BaseMessage::readInt32(const char *bytes)
{
    const auto *b = reinterpret_cast<const uchar *>(bytes);
    const quint32 value = (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8)
                          | quint32(b[3]);
    return static_cast<qint32>(value);
}

void BaseMessage::writeInt32(char *bytes, qint32 value)
{
    const auto v = static_cast<quint32>(value);
    bytes[0] = static_cast<char>(v >> 24);
    bytes[1] = static_cast<char>(v >> 16);
    bytes[2] = static_cast<char>(v >> 8);
    bytes[3] = static_cast<char>(v);
}
