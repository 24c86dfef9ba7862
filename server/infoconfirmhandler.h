#ifndef SERVER_INFOCONFIRMHANDLER_H
#define SERVER_INFOCONFIRMHANDLER_H

#include "server/basehandler.h"

// A candidate confirms the start of the test or asks to review the answers.
class InfoConfirmHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(quint64 clientId, BaseMessage *message) override;
};

#endif // SERVER_INFOCONFIRMHANDLER_H
