#include "server/protocol/authenstatetwomessage.h"

#include "server/protocol/messagetypes.h"

#include <cstring>

AuthenStateTwoMessage::AuthenStateTwoMessage()
    : BaseMessage(MSG_AUTHEN_STATE_TWO, BASE_LENGTH), m_response(RESPONSE_SIZE, '\0')
{
}

int AuthenStateTwoMessage::serialize(char *buffer, int room) const
{
    if (buffer == nullptr || !fits(RESPONSE_SIZE, room))
        return -1;
    std::memcpy(buffer, m_response.constData(), RESPONSE_SIZE);
    return 0;
}

int AuthenStateTwoMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < RESPONSE_SIZE)
        return -1;
    m_response = QByteArray(payload, RESPONSE_SIZE);
    setLength(BASE_LENGTH);
    return 0;
}

QByteArray AuthenStateTwoMessage::getResponse() const
{
    return m_response;
}

void AuthenStateTwoMessage::setResponse(const QByteArray &response)
{
    m_response = response.left(RESPONSE_SIZE);
    m_response.append(QByteArray(RESPONSE_SIZE - m_response.size(), '\0'));
}
