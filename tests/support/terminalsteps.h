#ifndef TESTS_SUPPORT_TERMINALSTEPS_H
#define TESTS_SUPPORT_TERMINALSTEPS_H

// The steps of a terminal's conversation that suites driving the server over
// loopback share, and which terminals the server has registered.

#include "server/network/iocontroller.h"
#include "tests/support/testterminal.h"
#include "tests/support/testterminalmessages.h"

#include <QByteArray>
#include <QSet>
#include <QString>

namespace TerminalSteps {

using Messages = TestTerminalMessages;

// The ids of the terminals the server holds now.
inline QSet<quint64> clientIds()
{
    QSet<quint64> ids;
    for (const auto &client : IOController::getInstance()->getClients())
        ids.insert(client.first);
    return ids;
}

// Sends an encrypted ContestEnter, as the terminals do, and reads the
// encrypted answer. False (with the reason in `error`) when no answer of the
// right type and form arrives.
inline bool enter(TestTerminal &terminal, const QByteArray &course, const QByteArray &order,
                  Messages::EnterResponseFields *reply, QString *error)
{
    if (!terminal.sendEncrypted(Messages::EncryptedContestEnter, Messages::contestEnter(course, order))) {
        *error = "send: " + terminal.errorString();
        return false;
    }
    TestTerminalFrame frame;
    if (!terminal.readFrame(&frame, 5000)) {
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

// Reads the next frame and checks its type; the payload as it came.
inline bool expectFrame(TestTerminal &terminal, int type, QByteArray *payload, QString *error)
{
    TestTerminalFrame frame;
    if (!terminal.readFrame(&frame, 5000)) {
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

// The list of running courses. Terminal messages are handled one at a time
// in arrival order, so once this answer is in every earlier message of the
// terminal has been handled.
inline bool requestContestNames(TestTerminal &terminal, Messages::ContestNameFields *names, QString *error)
{
    if (!terminal.sendFrame(Messages::ContestName, Messages::contestNameRequest())) {
        *error = "send: " + terminal.errorString();
        return false;
    }
    QByteArray payload;
    if (!expectFrame(terminal, Messages::ContestName, &payload, error))
        return false;
    if (!Messages::parseContestName(payload, names)) {
        *error = "malformed course list";
        return false;
    }
    return true;
}

} // namespace TerminalSteps

#endif // TESTS_SUPPORT_TERMINALSTEPS_H
