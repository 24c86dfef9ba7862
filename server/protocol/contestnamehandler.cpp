#include "server/protocol/contestnamehandler.h"

#include "server/protocol/contestnamemessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"

#include <QString>

void ContestNameHandler::handle(BaseMessage *message)
{
    auto *m = dynamic_cast<ContestNameMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_CONTEST_NAME)) {
        reportWrongType("ContestNameHandler: can not process message with type: ", type);
        return;
    }
    if (m->getKind() != ContestNameMessage::KIND_REPLY)
        return;
    const QByteArray codes = m->getCourseCodes();
    const QByteArray names = m->getCourseNames();
    InputDispatcher::getInstance()->handleContestNameResponse(codes.constData(), codes.size(),
                                                              names.constData(), names.size());
}

void ContestNameHandler::handle(quint64 clientId, BaseMessage *message)
{
    auto *m = dynamic_cast<ContestNameMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_CONTEST_NAME)) {
        reportWrongType("ContestNameHandler: can not process message with type: ", type);
        return;
    }
    if (m->getKind() == ContestNameMessage::KIND_REQUEST)
        InputDispatcher::getInstance()->handleContestNameRequest(clientId);
}

bool ContestNameHandler::actsOnServer() const
{
    const auto *m = dynamic_cast<const ContestNameMessage *>(getMessage());
    return m != nullptr && m->getKind() == ContestNameMessage::KIND_REQUEST;
}
