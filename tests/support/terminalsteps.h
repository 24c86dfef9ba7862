#ifndef TESTS_SUPPORT_TERMINALSTEPS_H
#define TESTS_SUPPORT_TERMINALSTEPS_H

// The steps of a terminal's conversation that suites driving the server over
// loopback share, and which terminals the server has registered.

#include "tests/support/testterminal.h"
#include "tests/support/testterminalmessages.h"

#include <QByteArray>
#include <QSet>
#include <QString>

namespace TerminalSteps {

using Messages = TestTerminalMessages;

// The ids of the terminals the server holds now.
QSet<quint64> clientIds();

// Sends an encrypted ContestEnter, as the terminals do, and reads the
// encrypted answer. False (with the reason in `error`) when no answer of the
// right type and form arrives.
bool enter(TestTerminal &terminal, const QByteArray &course, const QByteArray &order,
           Messages::EnterResponseFields *reply, QString *error);
// The answer half of enter(), for a terminal whose ContestEnter went out
// earlier.
bool readEnterResponse(TestTerminal &terminal, Messages::EnterResponseFields *reply, QString *error,
                       int timeoutMs = 5000);

// Reads the next frame and checks its type; the payload as it came.
bool expectFrame(TestTerminal &terminal, int type, QByteArray *payload, QString *error,
                 int timeoutMs = 5000);

// The list of running courses. Terminal messages are handled one at a time
// in arrival order, so once this answer is in every earlier message of the
// terminal has been handled.
bool requestContestNames(TestTerminal &terminal, Messages::ContestNameFields *names, QString *error,
                         int timeoutMs = 5000);
// Its answer half, for a terminal whose request went out earlier.
bool readContestNames(TestTerminal &terminal, Messages::ContestNameFields *names, QString *error,
                      int timeoutMs = 5000);

} // namespace TerminalSteps

#endif // TESTS_SUPPORT_TERMINALSTEPS_H
