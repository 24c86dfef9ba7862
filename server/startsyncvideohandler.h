#ifndef SERVER_STARTSYNCVIDEOHANDLER_H
#define SERVER_STARTSYNCVIDEOHANDLER_H

#include "server/basehandler.h"

// Terminal side: the start of a distributed video file.
class StartSyncVideoHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_STARTSYNCVIDEOHANDLER_H
