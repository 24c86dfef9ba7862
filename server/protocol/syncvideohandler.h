#ifndef SERVER_PROTOCOL_SYNCVIDEOHANDLER_H
#define SERVER_PROTOCOL_SYNCVIDEOHANDLER_H

#include "server/protocol/basehandler.h"

// Terminal side: one chunk of a distributed video file.
class SyncVideoHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_PROTOCOL_SYNCVIDEOHANDLER_H
