#include "server/protocol/startsyncvideomessage.h"

#include "server/protocol/messagetypes.h"

#include <cstring>

StartSyncVideoMessage::StartSyncVideoMessage()
    : BaseMessage(MSG_START_SYNC_VIDEO, BASE_LENGTH)
{
}

int StartSyncVideoMessage::serialize(char *buffer, int room) const
{
    if (buffer == nullptr || !fits(m_path.size(), room))
        return -1;
    std::memcpy(buffer, m_path.constData(), size_t(m_path.size()));
    return 0;
}

int StartSyncVideoMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < 1)
        return -1;
    m_path = QByteArray(payload, size);
    setLengthFrom(qint64(BASE_LENGTH) + m_path.size());
    return 0;
}

QByteArray StartSyncVideoMessage::getPath() const
{
    return m_path;
}

void StartSyncVideoMessage::setPath(const QByteArray &path)
{
    m_path = path;
    setLengthFrom(qint64(BASE_LENGTH) + m_path.size());
}
