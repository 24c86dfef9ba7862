#ifndef SERVER_PROTOCOL_AUTHENSTATETWOHANDLER_H
#define SERVER_PROTOCOL_AUTHENSTATETWOHANDLER_H

#include "server/protocol/basehandler.h"

// A terminal's answer to the handshake challenge.
class AuthenStateTwoHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(quint64 clientId, BaseMessage *message) override;
    bool actsOnServer() const override;
};

#endif // SERVER_PROTOCOL_AUTHENSTATETWOHANDLER_H
