#include "server/protocol/authenstatetwohandler.h"

#include "server/protocol/authenstatetwomessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"

#include <QString>

void AuthenStateTwoHandler::handle(quint64 clientId, BaseMessage *message)
{
    auto *m = dynamic_cast<AuthenStateTwoMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_AUTHEN_STATE_TWO)) {
        reportWrongType("AuthenStateTwoHandler: can not process message with type: ", type);
        return;
    }
    const QByteArray response = m->getResponse();
    InputDispatcher::getInstance()->handleAuthenStateTwo(clientId, response.constData());
}

bool AuthenStateTwoHandler::actsOnServer() const
{
    return true;
}
