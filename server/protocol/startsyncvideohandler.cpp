#include "server/protocol/startsyncvideohandler.h"

#include "server/protocol/consoleoutput.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"
#include "server/protocol/startsyncvideomessage.h"

#include <string>

#include <QString>

void StartSyncVideoHandler::handle(BaseMessage *message)
{
    auto *m = dynamic_cast<StartSyncVideoMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_START_SYNC_VIDEO)) {
        reportWrongType("StartSyncVideoHandler: can not process message with type: ", type);
        return;
    }
    ConsoleOutput::writeLine("StartSyncvideomessage " + std::to_string(m->getType()));
    InputDispatcher::getInstance()->startSyncVideo(QString::fromUtf8(m->getPath()));
}
