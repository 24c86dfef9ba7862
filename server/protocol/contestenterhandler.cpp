#include "server/protocol/contestenterhandler.h"

#include "server/protocol/contestentermessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"

#include <QString>

void ContestEnterHandler::handle(quint64 clientId, BaseMessage *message)
{
    auto *m = dynamic_cast<ContestEnterMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_CONTEST_ENTER && type != MSG_CONTEST_ENTER_ENCRYPTED)) {
        reportWrongType("ContestEnterHandler: can not process message with type: ", type);
        return;
    }
    InputDispatcher::getInstance()->orderNumberUpdated(clientId,
                                                       QString::fromUtf8(m->getCourseCode()),
                                                       QString::fromUtf8(m->getOrderNumber()));
}

bool ContestEnterHandler::actsOnServer() const
{
    return true;
}
