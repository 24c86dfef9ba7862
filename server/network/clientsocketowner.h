#ifndef SERVER_NETWORK_CLIENTSOCKETOWNER_H
#define SERVER_NETWORK_CLIENTSOCKETOWNER_H

#include <QtGlobal>

class BaseHandler;

// What a terminal connection asks of whoever owns it (the IOController):
// run the handlers cut from its frames, and remove it once its terminal has
// gone. Called on the connection's own threads; the owner outlives them.
class ClientSocketOwner
{
public:
    // The owner takes the handler (and its message).
    virtual void enqueueHandler(BaseHandler *handler) = 0;
    // Behind the handlers this connection queued before, removes it.
    virtual void enqueueClientGone(quint64 clientId) = 0;

protected:
    ~ClientSocketOwner() = default;
};

#endif // SERVER_NETWORK_CLIENTSOCKETOWNER_H
