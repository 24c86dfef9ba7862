#ifndef SERVER_PROTOCOL_ENDSYNCVIDEOHANDLER_H
#define SERVER_PROTOCOL_ENDSYNCVIDEOHANDLER_H

#include "server/protocol/basehandler.h"

// Terminal side: the end of a distributed video file.
class EndSyncVideoHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_PROTOCOL_ENDSYNCVIDEOHANDLER_H
