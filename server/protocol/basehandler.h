#ifndef SERVER_PROTOCOL_BASEHANDLER_H
#define SERVER_PROTOCOL_BASEHANDLER_H

#include <QtGlobal>

class BaseMessage;

// One received message waiting for the handler queue, with the id of the
// connection it came from. Each concrete handler turns its message's bytes
// into Qt values and passes them to the input hub.
class BaseHandler
{
public:
    BaseHandler();
    // Destroys the message.
    virtual ~BaseHandler();

    BaseHandler(const BaseHandler &) = delete;
    BaseHandler &operator=(const BaseHandler &) = delete;

    // Terminal-side handling; the server never calls it.
    virtual void handle(BaseMessage *message);
    // Server-side handling, on the handler-queue thread.
    virtual void handle(quint64 clientId, BaseMessage *message);

    // Whether its server-side handling changes anything or answers the
    // terminal: the frame reader queues no handler that does neither, so a
    // peer cannot hold the queue with frames that do nothing. False here.
    virtual bool actsOnServer() const;

    BaseMessage *getMessage() const;
    // Takes ownership; a message set before is destroyed.
    void setMessage(BaseMessage *message);
    qint32 getClientId() const;
    void setClientId(qint32 clientId);

protected:
    // The line a handler writes when given a message of a type it does not
    // take: its text, then the type byte itself.
    static void reportWrongType(const char *text, quint8 type);

private:
    BaseMessage *m_message = nullptr;
    qint32 m_clientId = 0;
};

#endif // SERVER_PROTOCOL_BASEHANDLER_H
