#include "server/endsyncvideohandler.h"

#include "server/consoleoutput.h"
#include "server/endsyncvideomessage.h"
#include "server/inputdispatcher.h"
#include "server/messagetypes.h"

#include <string>

#include <QString>

void EndSyncVideoHandler::handle(BaseMessage *message)
{
    auto *m = dynamic_cast<EndSyncVideoMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_END_SYNC_VIDEO)) {
        reportWrongType("EndSyncVideoHandler: can not process message with type: ", type);
        return;
    }
    ConsoleOutput::writeLine("EndSyncvideomessage" + std::to_string(m->getType()));
    InputDispatcher::getInstance()->endSyncVideo();
}
