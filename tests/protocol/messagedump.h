#ifndef TESTS_PROTOCOL_MESSAGEDUMP_H
#define TESTS_PROTOCOL_MESSAGEDUMP_H

#include <QString>

class BaseMessage;

// Every field of a message as one line of text, so tables of cases can state
// the expected fields of any message type in one column.
class MessageDump
{
public:
    static QString describe(const BaseMessage *message);
};

#endif // TESTS_PROTOCOL_MESSAGEDUMP_H
