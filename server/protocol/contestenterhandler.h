#ifndef SERVER_PROTOCOL_CONTESTENTERHANDLER_H
#define SERVER_PROTOCOL_CONTESTENTERHANDLER_H

#include "server/protocol/basehandler.h"

// A candidate asks to sit the test: course code and order number, UTF-8.
class ContestEnterHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(quint64 clientId, BaseMessage *message) override;
    bool actsOnServer() const override;
};

#endif // SERVER_PROTOCOL_CONTESTENTERHANDLER_H
