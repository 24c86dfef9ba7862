#include "server/protocol/infoconfirmhandler.h"

#include "server/protocol/infoconfirmmessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"

#include <QString>

void InfoConfirmHandler::handle(quint64 clientId, BaseMessage *message)
{
    auto *m = dynamic_cast<InfoConfirmMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_INFO_CONFIRM && type != MSG_INFO_CONFIRM_ENCRYPTED)) {
        reportWrongType("InfoConfirmHandler: can not process message with type: ", type);
        return;
    }
    InputDispatcher::getInstance()->infoConfirmUpdated(clientId, m->getEntryId(), m->getFlag(),
                                                       m->getReview());
}

bool InfoConfirmHandler::actsOnServer() const
{
    return true;
}
