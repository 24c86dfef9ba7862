#include "tests/support/terminalsteps.h"

#include "server/network/iocontroller.h"

namespace TerminalSteps {

QSet<quint64> clientIds()
{
    QSet<quint64> ids;
    for (const auto &client : IOController::getInstance()->getClients())
        ids.insert(client.first);
    return ids;
}

bool enter(TestTerminal &terminal, const QByteArray &course, const QByteArray &order,
           Messages::EnterResponseFields *reply, QString *error)
{
    if (!terminal.sendEncrypted(Messages::EncryptedContestEnter, Messages::contestEnter(course, order))) {
        *error = "send: " + terminal.errorString();
        return false;
    }
    return readEnterResponse(terminal, reply, error);
}

bool readEnterResponse(TestTerminal &terminal, Messages::EnterResponseFields *reply, QString *error,
                       int timeoutMs)
{
    TestTerminalFrame frame;
    if (!terminal.readFrame(&frame, timeoutMs)) {
        *error = "read: " + terminal.errorString();
        return false;
    }
    QByteArray plain;
    if (frame.type != Messages::EncryptedEnterResponse || !terminal.decrypt(frame, &plain)
        || !Messages::parseEnterResponse(plain, reply)) {
        *error = QString("unexpected frame of type %1").arg(frame.type);
        return false;
    }
    return true;
}

bool expectFrame(TestTerminal &terminal, int type, QByteArray *payload, QString *error, int timeoutMs)
{
    TestTerminalFrame frame;
    if (!terminal.readFrame(&frame, timeoutMs)) {
        *error = "read: " + terminal.errorString();
        return false;
    }
    if (frame.type != type) {
        *error = QString("frame of type %1, expected %2").arg(frame.type).arg(type);
        return false;
    }
    *payload = frame.payload;
    return true;
}

bool requestContestNames(TestTerminal &terminal, Messages::ContestNameFields *names, QString *error,
                         int timeoutMs)
{
    if (!terminal.sendFrame(Messages::ContestName, Messages::contestNameRequest())) {
        *error = "send: " + terminal.errorString();
        return false;
    }
    return readContestNames(terminal, names, error, timeoutMs);
}

bool readContestNames(TestTerminal &terminal, Messages::ContestNameFields *names, QString *error, int timeoutMs)
{
    QByteArray payload;
    if (!expectFrame(terminal, Messages::ContestName, &payload, error, timeoutMs))
        return false;
    if (!Messages::parseContestName(payload, names)) {
        *error = "malformed course list";
        return false;
    }
    return true;
}

} // namespace TerminalSteps
