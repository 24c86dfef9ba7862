#include "server/protocol/reviewcontesthandler.h"

#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"
#include "server/protocol/reviewmessage.h"

#include <QString>

void ReviewContestHandler::handle(BaseMessage *message)
{
    auto *m = dynamic_cast<ReviewMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_REVIEW)) {
        reportWrongType("ReviewContestHandler: can not process message with type: ", type);
        return;
    }
    InputDispatcher::getInstance()->reviewContestUpdated(QString::fromUtf8(m->getAnswers()));
}
