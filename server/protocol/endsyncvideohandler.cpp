#include "server/protocol/endsyncvideohandler.h"

#include "server/protocol/consoleoutput.h"
#include "server/protocol/endsyncvideomessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"

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
