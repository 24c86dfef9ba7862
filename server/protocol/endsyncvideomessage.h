#ifndef SERVER_PROTOCOL_ENDSYNCVIDEOMESSAGE_H
#define SERVER_PROTOCOL_ENDSYNCVIDEOMESSAGE_H

#include "server/protocol/basemessage.h"

// Server to terminal: the video file is complete. No payload.
class EndSyncVideoMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 3;

    EndSyncVideoMessage();

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;
};

#endif // SERVER_PROTOCOL_ENDSYNCVIDEOMESSAGE_H
