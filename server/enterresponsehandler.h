#ifndef SERVER_ENTERRESPONSEHANDLER_H
#define SERVER_ENTERRESPONSEHANDLER_H

#include "server/basehandler.h"

// Terminal side: the admission answer. A terminal that sends it to the server
// gets no effect beyond the parse.
class EnterResponseHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_ENTERRESPONSEHANDLER_H
