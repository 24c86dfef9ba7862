#include "server/protocol/framecodec.h"

#include "server/protocol/aescipher.h"
#include "server/protocol/basehandler.h"
#include "server/protocol/basemessage.h"
#include "server/protocol/bytebuffer.h"
#include "server/protocol/consoleoutput.h"
#include "server/protocol/handlerfactory.h"
#include "server/protocol/messagefactory.h"
#include "server/protocol/messagetypes.h"

#include <QRandomGenerator>
#include <QtEndian>

#include <cstring>
#include <memory>
#include <vector>

namespace {
const int ENCRYPTED_HEADER_SIZE = 1 + AesCipher::BLOCK_SIZE;

void writeLength(char *frame, int length)
{
    frame[0] = static_cast<char>((length >> 8) & 0xff);
    frame[1] = static_cast<char>(length & 0xff);
}
} // namespace

FrameCodec::FrameCodec(AesCipher *cipher)
    : m_cipher(cipher)
{
}

void FrameCodec::parseMessages(std::string &accumulated, quint64 clientId,
                               const HandlerSink &enqueue) const
{
    ByteBuffer buffer(accumulated.data(), accumulated.size());
    quint64 consumed = 0;
    std::vector<char> frame;
    while (buffer.unreadCount() >= quint64(FRAME_HEADER_SIZE)) {
        quint16 rawLength = 0;
        buffer.peekUInt16(&rawLength);
        const quint16 length = qFromBigEndian(rawLength);
        if (length < FRAME_HEADER_SIZE) {
            ConsoleOutput::writeLine("Message length is invalid");
            accumulated.clear();
            return;
        }
        if (buffer.unreadCount() < length) {
            ConsoleOutput::writeLine("Message length is not enough");
            break;
        }
        frame.resize(length);
        buffer.read(frame.data(), length);
        consumed += length;
        const auto type = static_cast<quint8>(frame[2]);

        std::unique_ptr<BaseMessage> message(MessageFactory::getInstance()->create(type));
        if (!message) {
            ConsoleOutput::writeLine("Create message failed. Message type = " + std::to_string(type));
            accumulated.clear();
            return;
        }
        message->setLength(length);
        message->setType(type);
        const char *payload = frame.data() + FRAME_HEADER_SIZE;
        const int payloadSize = length - FRAME_HEADER_SIZE;
        const int result = type < MIN_ENCRYPTED_TYPE
                               ? message->parse(payload, payloadSize)
                               : message->parseEncrypted(payload, payloadSize, m_cipher);
        if (result < 0) {
            ConsoleOutput::writeLine("Parse message failed. Message type = " + std::to_string(type));
            accumulated.clear();
            return;
        }

        std::unique_ptr<BaseHandler> handler(HandlerFactory::getInstance()->create(type));
        if (!handler) {
            ConsoleOutput::writeLine("Create handler failed. Message type = " + std::to_string(type));
            continue;
        }
        handler->setClientId(static_cast<qint32>(clientId));
        handler->setMessage(message.release());
        // Running it would change nothing and answer nothing: queued, it
        // would only hold every terminal's handlers back by a cycle.
        if (!handler->actsOnServer())
            continue;
        if (enqueue && !enqueue(handler.release())) {
            accumulated.clear();
            return;
        }
    }
    accumulated.erase(0, consumed);
}

int FrameCodec::buildFrame(const BaseMessage &message, std::string *frame) const
{
    if (frame == nullptr)
        return -1;
    frame->clear();
    const int length = message.getLength();
    const quint8 type = message.getType();
    if (length < FRAME_HEADER_SIZE)
        return -1;

    // Zeroed, so a message shorter than its declared length never sends
    // uninitialised bytes.
    std::vector<char> plain(size_t(length), '\0');
    const int payloadSize = length - FRAME_HEADER_SIZE;
    if (message.serialize(plain.data() + FRAME_HEADER_SIZE, payloadSize) < 0)
        return -1;

    if (type < MIN_ENCRYPTED_TYPE) {
        writeLength(plain.data(), length);
        plain[2] = static_cast<char>(type);
        frame->assign(plain.data(), plain.size());
        return length;
    }

    if (m_cipher == nullptr)
        return -1;
    int pad = (AesCipher::BLOCK_SIZE - payloadSize % AesCipher::BLOCK_SIZE) % AesCipher::BLOCK_SIZE;
    if (payloadSize + pad == 0)
        pad = AesCipher::BLOCK_SIZE;
    const qint64 cipherSize = qint64(payloadSize) + pad;
    const qint64 frameLength = FRAME_HEADER_SIZE + ENCRYPTED_HEADER_SIZE + cipherSize;
    if (frameLength > MAX_FRAME_LENGTH)
        return -1;

    std::vector<char> encrypted(size_t(frameLength), '\0');
    char *iv = encrypted.data() + FRAME_HEADER_SIZE + 1;
    char *blocks = iv + AesCipher::BLOCK_SIZE;
    quint32 ivWords[AesCipher::BLOCK_SIZE / 4];
    QRandomGenerator::system()->fillRange(ivWords);
    std::memcpy(iv, ivWords, AesCipher::BLOCK_SIZE);
    std::memcpy(blocks, plain.data() + FRAME_HEADER_SIZE, size_t(payloadSize));
    if (!m_cipher->encryptCbcWithIv(iv, blocks, int(cipherSize)))
        return -1;
    writeLength(encrypted.data(), int(frameLength));
    encrypted[2] = static_cast<char>(type);
    encrypted[3] = static_cast<char>(pad);
    frame->assign(encrypted.data(), encrypted.size());
    return int(frameLength);
}
