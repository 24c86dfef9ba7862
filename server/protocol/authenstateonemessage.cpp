#include "server/protocol/authenstateonemessage.h"

#include "server/protocol/messagetypes.h"

#include <cstring>

AuthenStateOneMessage::AuthenStateOneMessage()
    : BaseMessage(MSG_AUTHEN_STATE_ONE, BASE_LENGTH), m_challenge(CHALLENGE_SIZE, '\0')
{
}

int AuthenStateOneMessage::serialize(char *buffer, int room) const
{
    if (buffer == nullptr || !fits(CHALLENGE_SIZE, room))
        return -1;
    std::memcpy(buffer, m_challenge.constData(), CHALLENGE_SIZE);
    return 0;
}

int AuthenStateOneMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < CHALLENGE_SIZE)
        return -1;
    m_challenge = QByteArray(payload, CHALLENGE_SIZE);
    setLength(BASE_LENGTH);
    return 0;
}

QByteArray AuthenStateOneMessage::getChallenge() const
{
    return m_challenge;
}

void AuthenStateOneMessage::setChallenge(const QByteArray &challenge)
{
    m_challenge = challenge.left(CHALLENGE_SIZE);
    m_challenge.append(QByteArray(CHALLENGE_SIZE - m_challenge.size(), '\0'));
}
