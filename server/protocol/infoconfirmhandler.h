#ifndef SERVER_PROTOCOL_INFOCONFIRMHANDLER_H
#define SERVER_PROTOCOL_INFOCONFIRMHANDLER_H

#include "server/protocol/basehandler.h"

// A candidate confirms the start of the test or asks to review the answers.
class InfoConfirmHandler : public BaseHandler
{
public:
    using BaseHandler::handle;

    void handle(quint64 clientId, BaseMessage *message) override;
    bool actsOnServer() const override;
    // The start of the test; a review only asks for an answer.
};

#endif // SERVER_PROTOCOL_INFOCONFIRMHANDLER_H
