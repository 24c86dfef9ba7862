#include "server/network/authenticationcheck.h"

#include "server/network/clientsocket.h"
#include "server/network/handshake.h"
#include "server/network/iocontroller.h"

bool AuthenticationCheck::checkAnswer(IOController *controller, quint64 clientId,
                                      const char *response16)
{
    if (controller == nullptr)
        return false;
    const IOController::ClientMap clients = controller->getClients();
    const auto found = clients.find(clientId);
    if (found == clients.end())
        return false;
    if (Handshake::matches(found->second->getAuthResponse(), response16))
        return true;
    controller->removeClient(clientId);
    return false;
}
