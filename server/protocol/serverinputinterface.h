#ifndef SERVER_PROTOCOL_SERVERINPUTINTERFACE_H
#define SERVER_PROTOCOL_SERVERINPUTINTERFACE_H

#include <QString>
#include <QtGlobal>

// The events of terminal messages, as the business controllers receive them
// from the input hub. Called on the handler-queue thread only, one at a time.
class ServerInputInterface
{
public:
    virtual void orderNumberUpdated(quint64 clientId, const QString &courseCode,
                                    const QString &orderNumber) = 0;
    virtual void contestResultUpdated(quint64 clientId, int score, int passMark, bool passed,
                                      int entryId, const QString &courseCode,
                                      const QString &answers) = 0;
    virtual void infoConfirmUpdated(quint64 clientId, int entryId, bool flag, bool review) = 0;
    // response16: the terminal's 16 answer bytes, valid during the call.
    virtual void handleAuthenStateTwo(quint64 clientId, const char *response16) = 0;
    virtual void handleContestNameRequest(quint64 clientId) = 0;

protected:
    // Listeners are never destroyed through the hub.
    ~ServerInputInterface() = default;
};

#endif // SERVER_PROTOCOL_SERVERINPUTINTERFACE_H
