#include "server/network/authenticationcheck.h"

#include "server/network/clientsocket.h"
#include "server/network/iocontroller.h"

bool AuthenticationCheck::checkAnswer(IOController *controller, quint64 clientId,
                                      const char *response16)
{
    if (controller == nullptr)
        return false;
    const std::shared_ptr<ClientSocket> client = controller->findClient(clientId);
    if (!client)
        return false;
    if (client->checkAuthAnswer(response16) == ClientSocket::HandshakeState::Passed)
        return true;
    controller->removeClient(clientId);
    return false;
}
