#ifndef SERVER_PROTOCOL_HANDLERFACTORY_H
#define SERVER_PROTOCOL_HANDLERFACTORY_H

#include <QtGlobal>

class BaseHandler;

// Makes the handler for a frame's type byte; a plain type and its encrypted
// form get the same handler.
class HandlerFactory
{
public:
    static HandlerFactory *getInstance();

    // A new handler owned by the caller, or null for a type no handler takes.
    BaseHandler *create(quint8 type) const;

private:
    HandlerFactory() = default;
};

#endif // SERVER_PROTOCOL_HANDLERFACTORY_H
