#include "server/authenstatetwohandler.h"

#include "server/authenstatetwomessage.h"
#include "server/inputdispatcher.h"
#include "server/messagetypes.h"

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
