#include "server/handlerfactory.h"

#include "server/authenstateonehandler.h"
#include "server/authenstatetwohandler.h"
#include "server/contestenterhandler.h"
#include "server/contestnamehandler.h"
#include "server/contestresulthandler.h"
#include "server/endsyncvideohandler.h"
#include "server/enterresponsehandler.h"
#include "server/infoconfirmhandler.h"
#include "server/messagetypes.h"
#include "server/reviewcontesthandler.h"
#include "server/startsyncvideohandler.h"
#include "server/syncvideohandler.h"

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
