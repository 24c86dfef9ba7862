#ifndef SERVER_PROTOCOL_AUTHENSTATETWOMESSAGE_H
#define SERVER_PROTOCOL_AUTHENSTATETWOMESSAGE_H

#include "server/protocol/basemessage.h"

#include <QByteArray>

// Terminal to server: the 16-byte answer to the handshake challenge.
class AuthenStateTwoMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 19;
    static const int RESPONSE_SIZE = 16;

    AuthenStateTwoMessage();

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;

    QByteArray getResponse() const;
    // Keeps the first 16 bytes; a shorter input is completed with zeros.
    void setResponse(const QByteArray &response);

private:
    QByteArray m_response;
};

#endif // SERVER_PROTOCOL_AUTHENSTATETWOMESSAGE_H
