#ifndef SERVER_PROTOCOL_CLIENTINPUTINTERFACE_H
#define SERVER_PROTOCOL_CLIENTINPUTINTERFACE_H

#include <QString>

// The terminal-side events of the protocol. The server implements none of
// them; the hub keeps the shape so both sides share the handler classes.
class ClientInputInterface
{
public:
    virtual void enterResponseUpdated(int status, int licenceClass, int entryId,
                                      const QString &identityNumber, const QString &fullName,
                                      const QString &portrait) = 0;
    virtual void handleAuthenStateOne(const char *challenge16) = 0;
    virtual void handleContestNameResponse(const char *courseCodes, int courseCodesLength,
                                           const char *courseNames, int courseNamesLength) = 0;
    virtual void reviewContestUpdated(const QString &answers) = 0;

protected:
    ~ClientInputInterface() = default;
};

#endif // SERVER_PROTOCOL_CLIENTINPUTINTERFACE_H
