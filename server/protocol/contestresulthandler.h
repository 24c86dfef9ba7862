#ifndef SERVER_PROTOCOL_CONTESTRESULTHANDLER_H
#define SERVER_PROTOCOL_CONTESTRESULTHANDLER_H

#include "server/protocol/basehandler.h"

// A candidate's result. The terminals write the course code and the answers
// in the local 8-bit code page, not UTF-8.
class ContestResultHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(quint64 clientId, BaseMessage *message) override;
    bool actsOnServer() const override;
};

#endif // SERVER_PROTOCOL_CONTESTRESULTHANDLER_H
