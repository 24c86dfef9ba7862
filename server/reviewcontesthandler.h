#ifndef SERVER_REVIEWCONTESTHANDLER_H
#define SERVER_REVIEWCONTESTHANDLER_H

#include "server/basehandler.h"

// Terminal side: the stored answers for review.
class ReviewContestHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_REVIEWCONTESTHANDLER_H
