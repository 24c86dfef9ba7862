#include "server/protocol/syncvideohandler.h"

#include "server/protocol/consoleoutput.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"
#include "server/protocol/syncvideomessage.h"

#include <string>

#include <QString>

void SyncVideoHandler::handle(BaseMessage *message)
{
    auto *m = dynamic_cast<SyncVideoMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_SYNC_VIDEO)) {
        reportWrongType("SyncVideoHandler: can not process message with type: ", type);
        return;
    }
    ConsoleOutput::writeLine("Syncvideomessage:" + std::to_string(m->getType()));
    const QByteArray data = m->getData();
    InputDispatcher::getInstance()->syncVideo(data.constData(), data.size());
}
