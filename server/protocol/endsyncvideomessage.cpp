#include "server/protocol/endsyncvideomessage.h"

#include "server/protocol/messagetypes.h"

EndSyncVideoMessage::EndSyncVideoMessage()
    : BaseMessage(MSG_END_SYNC_VIDEO, BASE_LENGTH)
{
}

int EndSyncVideoMessage::serialize(char *, int room) const
{
    return room < 0 ? -1 : 0;
}

int EndSyncVideoMessage::parse(const char *, int size)
{
    return size < 0 ? -1 : 0;
}
