#ifndef SERVER_PROTOCOL_MESSAGEFACTORY_H
#define SERVER_PROTOCOL_MESSAGEFACTORY_H

#include <QtGlobal>

class BaseMessage;

// Makes the message object for a frame's type byte.
class MessageFactory
{
public:
    static MessageFactory *getInstance();

    // A new message owned by the caller, or null for a type no class
    // carries. Types 100 to 103 give the encrypted forms of 4 to 7.
    BaseMessage *create(quint8 type) const;

private:
    MessageFactory() = default;
};

#endif // SERVER_PROTOCOL_MESSAGEFACTORY_H
