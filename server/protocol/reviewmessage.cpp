#include "server/protocol/reviewmessage.h"

#include "server/protocol/messagetypes.h"

#include <cstring>

ReviewMessage::ReviewMessage()
    : BaseMessage(MSG_REVIEW, BASE_LENGTH)
{
}

int ReviewMessage::serialize(char *buffer, int room) const
{
    if (buffer == nullptr || !fits(qint64(FIXED_SIZE) + m_answers.size(), room))
        return -1;
    writeInt32(buffer, m_answers.size());
    std::memcpy(buffer + FIXED_SIZE, m_answers.constData(), size_t(m_answers.size()));
    return 0;
}

int ReviewMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < FIXED_SIZE)
        return -1;
    const qint32 len = readInt32(payload);
    if (len < 0 || !fits(qint64(FIXED_SIZE) + len, size))
        return -1;
    m_answers = QByteArray(payload + FIXED_SIZE, len);
    setLengthFrom(qint64(BASE_LENGTH) + m_answers.size());
    return 0;
}

QByteArray ReviewMessage::getAnswers() const
{
    return m_answers;
}

void ReviewMessage::setAnswers(const QByteArray &answers)
{
    m_answers = answers;
    setLengthFrom(qint64(BASE_LENGTH) + m_answers.size());
}
