#include "server/protocol/enterresponsehandler.h"

#include "server/protocol/enterresponsemessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"

#include <QString>

void EnterResponseHandler::handle(BaseMessage *message)
{
    auto *m = dynamic_cast<EnterResponseMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_ENTER_RESPONSE && type != MSG_ENTER_RESPONSE_ENCRYPTED)) {
        reportWrongType("EnterResponseHandler: can not process message with type: ", type);
        return;
    }
    InputDispatcher::getInstance()->enterResponseUpdated(
        m->getStatus(), m->getLicenceClass(), m->getEntryId(),
        QString::fromUtf8(m->getIdentityNumber()), QString::fromUtf8(m->getFullName()),
        QString::fromUtf8(m->getPortrait()));
}
