#include "server/protocol/enterresponsemessage.h"

#include "server/protocol/messagetypes.h"

#include <cstring>

EnterResponseMessage::EnterResponseMessage()
    : EnterResponseMessage(false)
{
}

EnterResponseMessage::EnterResponseMessage(bool encrypted)
    : BaseMessage(encrypted ? MSG_ENTER_RESPONSE_ENCRYPTED : MSG_ENTER_RESPONSE, BASE_LENGTH)
{
}

int EnterResponseMessage::serialize(char *buffer, int room) const
{
    const qint64 needed = qint64(FIXED_SIZE) + m_identityNumber.size() + m_fullName.size()
                          + m_portrait.size();
    if (buffer == nullptr || !fits(needed, room))
        return -1;
    writeInt32(buffer, m_status);
    writeInt32(buffer + 4, m_licenceClass);
    writeInt32(buffer + 8, m_entryId);
    writeInt32(buffer + 12, m_identityNumber.size());
    writeInt32(buffer + 16, m_fullName.size());
    writeInt32(buffer + 20, m_portrait.size());
    char *part = buffer + FIXED_SIZE;
    for (const QByteArray *bytes : {&m_identityNumber, &m_fullName, &m_portrait}) {
        std::memcpy(part, bytes->constData(), size_t(bytes->size()));
        part += bytes->size();
    }
    return 0;
}

int EnterResponseMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < FIXED_SIZE)
        return -1;
    const qint32 len1 = readInt32(payload + 12);
    const qint32 len2 = readInt32(payload + 16);
    const qint32 len3 = readInt32(payload + 20);
    if (len1 < 0 || len2 < 0 || len3 < 0
        || !fits(qint64(FIXED_SIZE) + len1 + len2 + len3, size))
        return -1;
    m_status = readInt32(payload);
    m_licenceClass = readInt32(payload + 4);
    m_entryId = readInt32(payload + 8);
    const char *part = payload + FIXED_SIZE;
    m_identityNumber = QByteArray(part, len1);
    m_fullName = QByteArray(part + len1, len2);
    m_portrait = QByteArray(part + len1 + len2, len3);
    updateLength();
    return 0;
}

int EnterResponseMessage::parseEncrypted(const char *payload, int size, AesCipher *cipher)
{
    return parseEncryptedAs(payload, size, cipher, MSG_ENTER_RESPONSE);
}

qint32 EnterResponseMessage::getStatus() const
{
    return m_status;
}

void EnterResponseMessage::setStatus(qint32 status)
{
    m_status = status;
}

qint32 EnterResponseMessage::getLicenceClass() const
{
    return m_licenceClass;
}

void EnterResponseMessage::setLicenceClass(qint32 licenceClass)
{
    m_licenceClass = licenceClass;
}

qint32 EnterResponseMessage::getEntryId() const
{
    return m_entryId;
}

void EnterResponseMessage::setEntryId(qint32 entryId)
{
    m_entryId = entryId;
}

QByteArray EnterResponseMessage::getIdentityNumber() const
{
    return m_identityNumber;
}

void EnterResponseMessage::setIdentityNumber(const QByteArray &identityNumber)
{
    m_identityNumber = identityNumber;
    updateLength();
}

QByteArray EnterResponseMessage::getFullName() const
{
    return m_fullName;
}

void EnterResponseMessage::setFullName(const QByteArray &fullName)
{
    m_fullName = fullName;
    updateLength();
}

QByteArray EnterResponseMessage::getPortrait() const
{
    return m_portrait;
}

void EnterResponseMessage::setPortrait(const QByteArray &portrait)
{
    m_portrait = portrait;
    updateLength();
}

void EnterResponseMessage::updateLength()
{
    setLengthFrom(qint64(BASE_LENGTH) + m_identityNumber.size() + m_fullName.size()
                  + m_portrait.size());
}
