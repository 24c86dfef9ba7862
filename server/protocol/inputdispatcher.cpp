#include "server/protocol/inputdispatcher.h"

#include "server/protocol/clientinputinterface.h"
#include "server/protocol/serverinputinterface.h"

#include <QDebug>

InputDispatcher *InputDispatcher::getInstance()
{
    // Initialised once even when two threads ask first at the same time.
    static InputDispatcher instance;
    return &instance;
}

InputDispatcher::InputDispatcher() = default;

InputDispatcher::~InputDispatcher() = default;

void InputDispatcher::registerBusinessController(ServerInputInterface *controller)
{
    if (controller == nullptr)
        return;
    std::lock_guard<std::mutex> guard(m_mutex);
    m_businessControllers.append(controller);
}

void InputDispatcher::registerInput(ServerInputInterface *listener)
{
    if (listener == nullptr)
        return;
    std::lock_guard<std::mutex> guard(m_mutex);
    m_serverListeners.append(listener);
}

QList<ServerInputInterface *> InputDispatcher::serverListeners() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_businessControllers + m_serverListeners;
}

QList<ClientInputInterface *> InputDispatcher::clientListeners() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_clientListeners;
}

// Each listener gets its own copies of the texts: QString arguments are
// implicitly shared and const, so no listener sees another's changes.
void InputDispatcher::orderNumberUpdated(quint64 clientId, const QString &courseCode,
                                         const QString &orderNumber)
{
    for (ServerInputInterface *listener : serverListeners())
        listener->orderNumberUpdated(clientId, courseCode, orderNumber);
}

void InputDispatcher::contestResultUpdated(quint64 clientId, int score, int passMark, bool passed,
                                           int entryId, const QString &courseCode,
                                           const QString &answers)
{
    for (ServerInputInterface *listener : serverListeners())
        listener->contestResultUpdated(clientId, score, passMark, passed, entryId, courseCode,
                                       answers);
}

void InputDispatcher::infoConfirmUpdated(quint64 clientId, int entryId, bool flag, bool review)
{
    for (ServerInputInterface *listener : serverListeners())
        listener->infoConfirmUpdated(clientId, entryId, flag, review);
}

void InputDispatcher::handleAuthenStateTwo(quint64 clientId, const char *response16)
{
    for (ServerInputInterface *listener : serverListeners())
        listener->handleAuthenStateTwo(clientId, response16);
}

void InputDispatcher::handleContestNameRequest(quint64 clientId)
{
    for (ServerInputInterface *listener : serverListeners())
        listener->handleContestNameRequest(clientId);
}

void InputDispatcher::enterResponseUpdated(int status, int licenceClass, int entryId,
                                           const QString &identityNumber,
                                           const QString &fullName, const QString &portrait)
{
    for (ClientInputInterface *listener : clientListeners())
        listener->enterResponseUpdated(status, licenceClass, entryId, identityNumber, fullName,
                                       portrait);
}

void InputDispatcher::handleAuthenStateOne(const char *challenge16)
{
    for (ClientInputInterface *listener : clientListeners())
        listener->handleAuthenStateOne(challenge16);
}

void InputDispatcher::handleContestNameResponse(const char *courseCodes, int courseCodesLength,
                                                const char *courseNames, int courseNamesLength)
{
    for (ClientInputInterface *listener : clientListeners())
        listener->handleContestNameResponse(courseCodes, courseCodesLength, courseNames,
                                            courseNamesLength);
}

void InputDispatcher::reviewContestUpdated(const QString &answers)
{
    for (ClientInputInterface *listener : clientListeners())
        listener->reviewContestUpdated(answers);
}

// The server only sends videos: it never opens or writes a file whose path a
// peer names, so a terminal that sends these frames changes nothing here.
void InputDispatcher::startSyncVideo(const QString &) {}

void InputDispatcher::syncVideo(const char *, int) {}

void InputDispatcher::endSyncVideo() {}
