#ifndef SERVER_NETWORK_CLIENTCONNECTIONLISTENER_H
#define SERVER_NETWORK_CLIENTCONNECTIONLISTENER_H

#include <QtGlobal>

class BaseMessage;

// What the listener tells the terminal business logic about connections, so
// that each terminal can have resources of its own (its database connection,
// once it asks for something) for no longer than it is registered. Set with
// IOController::setClientConnectionListener before the listener starts.
class ClientConnectionListener
{
public:
    // On the listener thread, after the connection is registered and before
    // its client thread starts: nothing from the terminal has been read yet,
    // so its first message finds whatever is set up here. Must not wait (on
    // the database, say): the next accept waits for it.
    virtual void onClientAccepted(quint64 clientId) = 0;
    // On the connection's receive thread, for each message just before its
    // handler is queued: what the terminal told is kept here (whatever holds
    // the queue, or if the handler never runs), and what the handler will
    // need and takes long to set up (the terminal's database session) is set
    // up here, holding up this terminal only, never the handler queue.
    virtual void onMessageArriving(quint64 clientId, const BaseMessage &message) = 0;
    // After the connection has left the registry and been destroyed: its
    // terminal went away, answered the handshake wrongly, stopped reading, or
    // removeClient was called. On the thread that removed it (the
    // handler-queue thread, or the caller of removeClient). Not called for
    // the connections the controller's destructor closes.
    virtual void onClientRemoved(quint64 clientId) = 0;

protected:
    ~ClientConnectionListener() = default;
};

#endif // SERVER_NETWORK_CLIENTCONNECTIONLISTENER_H
