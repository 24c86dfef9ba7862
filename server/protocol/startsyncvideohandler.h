#ifndef SERVER_PROTOCOL_STARTSYNCVIDEOHANDLER_H
#define SERVER_PROTOCOL_STARTSYNCVIDEOHANDLER_H

#include "server/protocol/basehandler.h"

// Terminal side: the start of a distributed video file.
class StartSyncVideoHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_PROTOCOL_STARTSYNCVIDEOHANDLER_H
