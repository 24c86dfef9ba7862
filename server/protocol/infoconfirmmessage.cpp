#include "server/protocol/infoconfirmmessage.h"

#include "server/protocol/messagetypes.h"

InfoConfirmMessage::InfoConfirmMessage()
    : InfoConfirmMessage(false)
{
}

InfoConfirmMessage::InfoConfirmMessage(bool encrypted)
    : BaseMessage(encrypted ? MSG_INFO_CONFIRM_ENCRYPTED : MSG_INFO_CONFIRM, BASE_LENGTH)
{
}

int InfoConfirmMessage::serialize(char *buffer, int room) const
{
    if (buffer == nullptr || !fits(FIXED_SIZE, room))
        return -1;
    buffer[0] = m_flag ? 1 : 0;
    writeInt32(buffer + 1, m_entryId);
    buffer[5] = m_review ? 1 : 0;
    return 0;
}

int InfoConfirmMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < FIXED_SIZE)
        return -1;
    m_flag = payload[0] != 0;
    m_entryId = readInt32(payload + 1);
    m_review = payload[5] != 0;
    setLength(BASE_LENGTH);
    return 0;
}

int InfoConfirmMessage::parseEncrypted(const char *payload, int size, AesCipher *cipher)
{
    return parseEncryptedAs(payload, size, cipher, MSG_INFO_CONFIRM);
}

bool InfoConfirmMessage::getFlag() const
{
    return m_flag;
}

void InfoConfirmMessage::setFlag(bool flag)
{
    m_flag = flag;
}

qint32 InfoConfirmMessage::getEntryId() const
{
    return m_entryId;
}

void InfoConfirmMessage::setEntryId(qint32 entryId)
{
    m_entryId = entryId;
}

bool InfoConfirmMessage::getReview() const
{
    return m_review;
}

void InfoConfirmMessage::setReview(bool review)
{
    m_review = review;
}
