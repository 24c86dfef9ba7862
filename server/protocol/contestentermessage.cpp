#include "server/protocol/contestentermessage.h"

#include "server/protocol/messagetypes.h"

#include <cstring>

ContestEnterMessage::ContestEnterMessage()
    : ContestEnterMessage(false)
{
}

ContestEnterMessage::ContestEnterMessage(bool encrypted)
    : BaseMessage(encrypted ? MSG_CONTEST_ENTER_ENCRYPTED : MSG_CONTEST_ENTER, BASE_LENGTH)
{
}

int ContestEnterMessage::serialize(char *buffer, int room) const
{
    const qint64 needed = qint64(FIXED_SIZE) + m_courseCode.size() + m_orderNumber.size();
    if (buffer == nullptr || !fits(needed, room))
        return -1;
    writeInt32(buffer, m_courseCode.size());
    writeInt32(buffer + 4, m_orderNumber.size());
    char *part = buffer + FIXED_SIZE;
    std::memcpy(part, m_courseCode.constData(), size_t(m_courseCode.size()));
    part += m_courseCode.size();
    std::memcpy(part, m_orderNumber.constData(), size_t(m_orderNumber.size()));
    return 0;
}

int ContestEnterMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < FIXED_SIZE)
        return -1;
    const qint32 len1 = readInt32(payload);
    const qint32 len2 = readInt32(payload + 4);
    if (len1 < 0 || len2 < 0 || !fits(qint64(FIXED_SIZE) + len1 + len2, size))
        return -1;
    const char *part = payload + FIXED_SIZE;
    m_courseCode = QByteArray(part, len1);
    m_orderNumber = QByteArray(part + len1, len2);
    updateLength();
    return 0;
}

int ContestEnterMessage::parseEncrypted(const char *payload, int size, AesCipher *cipher)
{
    return parseEncryptedAs(payload, size, cipher, MSG_CONTEST_ENTER);
}

QByteArray ContestEnterMessage::getCourseCode() const
{
    return m_courseCode;
}

void ContestEnterMessage::setCourseCode(const QByteArray &courseCode)
{
    m_courseCode = courseCode;
    updateLength();
}

QByteArray ContestEnterMessage::getOrderNumber() const
{
    return m_orderNumber;
}

void ContestEnterMessage::setOrderNumber(const QByteArray &orderNumber)
{
    m_orderNumber = orderNumber;
    updateLength();
}

void ContestEnterMessage::updateLength()
{
    setLengthFrom(qint64(BASE_LENGTH) + m_courseCode.size() + m_orderNumber.size());
}
