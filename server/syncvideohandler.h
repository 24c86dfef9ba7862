#ifndef SERVER_SYNCVIDEOHANDLER_H
#define SERVER_SYNCVIDEOHANDLER_H

#include "server/basehandler.h"

// Terminal side: one chunk of a distributed video file.
class SyncVideoHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(BaseMessage *message) override;
};

#endif // SERVER_SYNCVIDEOHANDLER_H
