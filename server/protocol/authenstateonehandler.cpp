#include "server/protocol/authenstateonehandler.h"

#include "server/protocol/authenstateonemessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"

#include <QString>

void AuthenStateOneHandler::handle(BaseMessage *message)
{
    auto *m = dynamic_cast<AuthenStateOneMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_AUTHEN_STATE_ONE)) {
        reportWrongType("AuthenStateOneHandler: can not process message with type: ", type);
        return;
    }
    const QByteArray challenge = m->getChallenge();
    InputDispatcher::getInstance()->handleAuthenStateOne(challenge.constData());
}
