#ifndef SERVER_PROTOCOL_CONTESTNAMEHANDLER_H
#define SERVER_PROTOCOL_CONTESTNAMEHANDLER_H

#include "server/protocol/basehandler.h"

// The course list: a terminal's request on the server, the server's reply on
// a terminal. Any other kind does nothing.
class ContestNameHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
    void handle(quint64 clientId, BaseMessage *message) override;
    // A request only: a reply does nothing on the server.
    bool actsOnServer() const override;
};

#endif // SERVER_PROTOCOL_CONTESTNAMEHANDLER_H
