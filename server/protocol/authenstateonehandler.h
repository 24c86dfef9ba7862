#ifndef SERVER_PROTOCOL_AUTHENSTATEONEHANDLER_H
#define SERVER_PROTOCOL_AUTHENSTATEONEHANDLER_H

#include "server/protocol/basehandler.h"

// Terminal side: the handshake challenge.
class AuthenStateOneHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_PROTOCOL_AUTHENSTATEONEHANDLER_H
