#ifndef SERVER_PROTOCOL_INPUTDISPATCHER_H
#define SERVER_PROTOCOL_INPUTDISPATCHER_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <mutex>

class ClientInputInterface;
class ServerInputInterface;

// The hub between the message handlers and the business logic: each event is
// passed to every registered listener, one after the other.
//
// Order: the business controller is always called before every other
// listener, whenever it registers. It registers with
// registerBusinessController; every other listener (the terminal business
// controller) with registerInput and is called in registration order after
// it. The terminal business controller may be created by the first accepted
// terminal, before the business controller has finished its construction.
//
// Registration may happen on any thread; a fan-out calls the listeners
// registered when it starts, without holding the hub's lock, so a listener
// may itself cause a registration.
class InputDispatcher
{
public:
    static InputDispatcher *getInstance();

    InputDispatcher(const InputDispatcher &) = delete;
    InputDispatcher &operator=(const InputDispatcher &) = delete;

    void registerBusinessController(ServerInputInterface *controller);
    void registerInput(ServerInputInterface *listener);

    void orderNumberUpdated(quint64 clientId, const QString &courseCode, const QString &orderNumber);
    void contestResultUpdated(quint64 clientId, int score, int passMark, bool passed, int entryId,
                              const QString &courseCode, const QString &answers);
    void infoConfirmUpdated(quint64 clientId, int entryId, bool flag, bool review);
    void handleAuthenStateTwo(quint64 clientId, const char *response16);
    void handleContestNameRequest(quint64 clientId);

    // Terminal side: no client listener registers in the server.
    void enterResponseUpdated(int status, int licenceClass, int entryId,
                              const QString &identityNumber, const QString &fullName,
                              const QString &portrait);
    void handleAuthenStateOne(const char *challenge16);
    void handleContestNameResponse(const char *courseCodes, int courseCodesLength,
                                   const char *courseNames, int courseNamesLength);
    void reviewContestUpdated(const QString &answers);
    void startSyncVideo(const QString &path);
    void syncVideo(const char *bytes, int n);
    void endSyncVideo();

private:
    InputDispatcher();
    ~InputDispatcher();

    QList<ServerInputInterface *> serverListeners() const;
    QList<ClientInputInterface *> clientListeners() const;

    mutable std::mutex m_mutex;
    QList<ServerInputInterface *> m_businessControllers;
    QList<ServerInputInterface *> m_serverListeners;
    QList<ClientInputInterface *> m_clientListeners;
};

#endif // SERVER_PROTOCOL_INPUTDISPATCHER_H
