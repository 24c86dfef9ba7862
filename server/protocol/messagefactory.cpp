#include "server/protocol/messagefactory.h"

#include "server/protocol/authenstateonemessage.h"
#include "server/protocol/authenstatetwomessage.h"
#include "server/protocol/contestentermessage.h"
#include "server/protocol/contestnamemessage.h"
#include "server/protocol/contestresultmessage.h"
#include "server/protocol/endsyncvideomessage.h"
#include "server/protocol/enterresponsemessage.h"
#include "server/protocol/infoconfirmmessage.h"
#include "server/protocol/messagetypes.h"
#include "server/protocol/reviewmessage.h"
#include "server/protocol/startsyncvideomessage.h"
#include "server/protocol/syncvideomessage.h"

MessageFactory *MessageFactory::getInstance()
{
    // Initialised once even when two threads ask first at the same time.
    static MessageFactory instance;
    return &instance;
}

BaseMessage *MessageFactory::create(quint8 type) const
{
    switch (type) {
    case MSG_START_SYNC_VIDEO:
        return new StartSyncVideoMessage;
    case MSG_SYNC_VIDEO:
        return new SyncVideoMessage;
    case MSG_END_SYNC_VIDEO:
        return new EndSyncVideoMessage;
    case MSG_CONTEST_ENTER:
        return new ContestEnterMessage(false);
    case MSG_ENTER_RESPONSE:
        return new EnterResponseMessage(false);
    case MSG_CONTEST_RESULT:
        return new ContestResultMessage(false);
    case MSG_INFO_CONFIRM:
        return new InfoConfirmMessage(false);
    case MSG_CONTEST_NAME:
        return new ContestNameMessage;
    case MSG_REVIEW:
        return new ReviewMessage;
    case MSG_AUTHEN_STATE_ONE:
        return new AuthenStateOneMessage;
    case MSG_AUTHEN_STATE_TWO:
        return new AuthenStateTwoMessage;
    case MSG_CONTEST_ENTER_ENCRYPTED:
        return new ContestEnterMessage(true);
    case MSG_ENTER_RESPONSE_ENCRYPTED:
        return new EnterResponseMessage(true);
    case MSG_CONTEST_RESULT_ENCRYPTED:
        return new ContestResultMessage(true);
    case MSG_INFO_CONFIRM_ENCRYPTED:
        return new InfoConfirmMessage(true);
    default:
        return nullptr;
    }
}
