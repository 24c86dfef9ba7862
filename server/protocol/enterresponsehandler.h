#ifndef SERVER_PROTOCOL_ENTERRESPONSEHANDLER_H
#define SERVER_PROTOCOL_ENTERRESPONSEHANDLER_H

#include "server/protocol/basehandler.h"

// Terminal side: the admission answer. A terminal that sends it to the server
// gets no effect beyond the parse.
class EnterResponseHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_PROTOCOL_ENTERRESPONSEHANDLER_H
