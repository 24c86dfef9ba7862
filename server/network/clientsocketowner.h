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
    // The owner takes the handler (and its message), also when it refuses
    // it: false when the connection already has as many handlers queued as
    // it may, and must end.
    virtual bool enqueueHandler(BaseHandler *handler) = 0;
    // Drops the handlers this connection queued (what they carry was kept
    // when it arrived: see ClientConnectionListener::onMessageArriving) and
    // removes it.
    virtual void enqueueClientGone(quint64 clientId) = 0;

protected:
    ~ClientSocketOwner() = default;
};

#endif // SERVER_NETWORK_CLIENTSOCKETOWNER_H
