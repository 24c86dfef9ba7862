#include "server/protocol/basehandler.h"

#include "server/protocol/basemessage.h"
#include "server/protocol/consoleoutput.h"

#include <string>

BaseHandler::BaseHandler() = default;

BaseHandler::~BaseHandler()
{
    delete m_message;
}

void BaseHandler::handle(BaseMessage *)
{
}

void BaseHandler::handle(quint64, BaseMessage *)
{
}

bool BaseHandler::actsOnServer() const
{
    return false;
}

BaseMessage *BaseHandler::getMessage() const
{
    return m_message;
}

void BaseHandler::setMessage(BaseMessage *message)
{
    if (message == m_message)
        return;
    delete m_message;
    m_message = message;
}

qint32 BaseHandler::getClientId() const
{
    return m_clientId;
}

void BaseHandler::setClientId(qint32 clientId)
{
    m_clientId = clientId;
}

void BaseHandler::reportWrongType(const char *text, quint8 type)
{
    std::string line(text);
    line += static_cast<char>(type);
    ConsoleOutput::writeLine(line);
}
