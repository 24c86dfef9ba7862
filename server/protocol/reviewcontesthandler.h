#ifndef SERVER_PROTOCOL_REVIEWCONTESTHANDLER_H
#define SERVER_PROTOCOL_REVIEWCONTESTHANDLER_H

#include "server/protocol/basehandler.h"

// Terminal side: the stored answers for review.
class ReviewContestHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_PROTOCOL_REVIEWCONTESTHANDLER_H
