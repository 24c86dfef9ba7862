#ifndef SERVER_PROTOCOL_AUTHENSTATEONEMESSAGE_H
#define SERVER_PROTOCOL_AUTHENSTATEONEMESSAGE_H

#include "server/protocol/basemessage.h"

#include <QByteArray>

// Server to terminal: the 16-byte handshake challenge.
class AuthenStateOneMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 19;
    static const int CHALLENGE_SIZE = 16;

    AuthenStateOneMessage();

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;

    QByteArray getChallenge() const;
    // Keeps the first 16 bytes; a shorter input is completed with zeros.
    void setChallenge(const QByteArray &challenge);

private:
    QByteArray m_challenge;
};

#endif // SERVER_PROTOCOL_AUTHENSTATEONEMESSAGE_H
