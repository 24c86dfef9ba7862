#include "server/startsyncvideohandler.h"

#include "server/consoleoutput.h"
#include "server/inputdispatcher.h"
#include "server/messagetypes.h"
#include "server/startsyncvideomessage.h"

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
