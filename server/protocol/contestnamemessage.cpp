#include "server/protocol/contestnamemessage.h"

#include "server/protocol/messagetypes.h"

#include <cstring>

ContestNameMessage::ContestNameMessage()
    : BaseMessage(MSG_CONTEST_NAME, BASE_LENGTH)
{
}

int ContestNameMessage::serialize(char *buffer, int room) const
{
    const qint64 needed = qint64(FIXED_SIZE) + m_courseCodes.size() + m_courseNames.size();
    if (buffer == nullptr || !fits(needed, room))
        return -1;
    buffer[0] = static_cast<char>(m_kind);
    writeInt32(buffer + 1, m_courseCodes.size());
    writeInt32(buffer + 5, m_courseNames.size());
    char *part = buffer + FIXED_SIZE;
    std::memcpy(part, m_courseCodes.constData(), size_t(m_courseCodes.size()));
    part += m_courseCodes.size();
    std::memcpy(part, m_courseNames.constData(), size_t(m_courseNames.size()));
    return 0;
}

int ContestNameMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < FIXED_SIZE)
        return -1;
    const qint32 len1 = readInt32(payload + 1);
    const qint32 len2 = readInt32(payload + 5);
    if (len1 < 0 || len2 < 0 || !fits(qint64(FIXED_SIZE) + len1 + len2, size))
        return -1;
    m_kind = static_cast<quint8>(payload[0]);
    const char *part = payload + FIXED_SIZE;
    m_courseCodes = QByteArray(part, len1);
    m_courseNames = QByteArray(part + len1, len2);
    updateLength();
    return 0;
}

quint8 ContestNameMessage::getKind() const
{
    return m_kind;
}

void ContestNameMessage::setKind(quint8 kind)
{
    m_kind = kind;
}

QByteArray ContestNameMessage::getCourseCodes() const
{
    return m_courseCodes;
}

void ContestNameMessage::setCourseCodes(const QByteArray &courseCodes)
{
    m_courseCodes = courseCodes;
    updateLength();
}

QByteArray ContestNameMessage::getCourseNames() const
{
    return m_courseNames;
}

void ContestNameMessage::setCourseNames(const QByteArray &courseNames)
{
    m_courseNames = courseNames;
    updateLength();
}

void ContestNameMessage::updateLength()
{
    setLengthFrom(qint64(BASE_LENGTH) + m_courseCodes.size() + m_courseNames.size());
}
