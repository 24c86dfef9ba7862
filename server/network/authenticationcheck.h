#ifndef SERVER_NETWORK_AUTHENTICATIONCHECK_H
#define SERVER_NETWORK_AUTHENTICATIONCHECK_H

#include <QtGlobal>

class IOController;

// The server's check of a terminal's handshake answer, for the listener that
// receives AuthenStateTwo events from the input hub (the business
// controller's handleAuthenStateTwo).
class AuthenticationCheck
{
public:
    // Looks the connection up by id and has it check the answer; a
    // connection whose answer differs from its expected response (or that
    // has none yet) is removed and destroyed. An id no longer registered, e.g. a second answer from a
    // connection already removed, is ignored. True when the answer matched.
    static bool checkAnswer(IOController *controller, quint64 clientId, const char *response16);

    AuthenticationCheck() = delete;
};

#endif // SERVER_NETWORK_AUTHENTICATIONCHECK_H
