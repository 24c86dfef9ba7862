#include "server/protocol/contestresulthandler.h"

#include "server/protocol/contestresultmessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagetypes.h"

#include <QString>

void ContestResultHandler::handle(quint64 clientId, BaseMessage *message)
{
    auto *m = dynamic_cast<ContestResultMessage *>(message);
    const quint8 type = message ? message->getType() : 0;
    if (m == nullptr || (type != MSG_CONTEST_RESULT && type != MSG_CONTEST_RESULT_ENCRYPTED)) {
        reportWrongType("ContestResultHandler: can not process message with type: ", type);
        return;
    }
    // The answers whole, past a NUL too: the text ends where its length
    // says, not at its first NUL.
    const QByteArray answers = m->getAnswers();
    InputDispatcher::getInstance()->contestResultUpdated(
        clientId, m->getScore(), m->getPassMark(), m->getPassed(), m->getEntryId(),
        QString::fromLocal8Bit(m->getCourseCode()), QString::fromLocal8Bit(answers.constData(), answers.size()));
}

bool ContestResultHandler::actsOnServer() const
{
    return true;
}
