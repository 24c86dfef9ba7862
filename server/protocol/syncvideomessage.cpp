#include "server/protocol/syncvideomessage.h"

#include "server/protocol/messagetypes.h"

#include <cstring>

SyncVideoMessage::SyncVideoMessage()
    : BaseMessage(MSG_SYNC_VIDEO, BASE_LENGTH)
{
}

int SyncVideoMessage::serialize(char *buffer, int room) const
{
    if (buffer == nullptr || !fits(m_data.size(), room))
        return -1;
    std::memcpy(buffer, m_data.constData(), size_t(m_data.size()));
    return 0;
}

int SyncVideoMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < 1)
        return -1;
    m_data = QByteArray(payload, size);
    setLengthFrom(qint64(BASE_LENGTH) + m_data.size());
    return 0;
}

QByteArray SyncVideoMessage::getData() const
{
    return m_data;
}

void SyncVideoMessage::setData(const QByteArray &data)
{
    m_data = data;
    setLengthFrom(qint64(BASE_LENGTH) + m_data.size());
}
