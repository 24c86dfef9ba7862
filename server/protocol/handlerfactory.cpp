#include "server/protocol/handlerfactory.h"

#include "server/protocol/authenstateonehandler.h"
#include "server/protocol/authenstatetwohandler.h"
#include "server/protocol/contestenterhandler.h"
#include "server/protocol/contestnamehandler.h"
#include "server/protocol/contestresulthandler.h"
#include "server/protocol/endsyncvideohandler.h"
#include "server/protocol/enterresponsehandler.h"
#include "server/protocol/infoconfirmhandler.h"
#include "server/protocol/messagetypes.h"
#include "server/protocol/reviewcontesthandler.h"
#include "server/protocol/startsyncvideohandler.h"
#include "server/protocol/syncvideohandler.h"

HandlerFactory *HandlerFactory::getInstance()
{
    // Initialised once even when two threads ask first at the same time.
    static HandlerFactory instance;
    return &instance;
}

BaseHandler *HandlerFactory::create(quint8 type) const
{
    switch (type) {
    case MSG_START_SYNC_VIDEO:
        return new StartSyncVideoHandler;
    case MSG_SYNC_VIDEO:
        return new SyncVideoHandler;
    case MSG_END_SYNC_VIDEO:
        return new EndSyncVideoHandler;
    case MSG_CONTEST_ENTER:
    case MSG_CONTEST_ENTER_ENCRYPTED:
        return new ContestEnterHandler;
    case MSG_ENTER_RESPONSE:
    case MSG_ENTER_RESPONSE_ENCRYPTED:
        return new EnterResponseHandler;
    case MSG_CONTEST_RESULT:
    case MSG_CONTEST_RESULT_ENCRYPTED:
        return new ContestResultHandler;
    case MSG_INFO_CONFIRM:
    case MSG_INFO_CONFIRM_ENCRYPTED:
        return new InfoConfirmHandler;
    case MSG_CONTEST_NAME:
        return new ContestNameHandler;
    case MSG_REVIEW:
        return new ReviewContestHandler;
    case MSG_AUTHEN_STATE_ONE:
        return new AuthenStateOneHandler;
    case MSG_AUTHEN_STATE_TWO:
        return new AuthenStateTwoHandler;
    default:
        return nullptr;
    }
}
