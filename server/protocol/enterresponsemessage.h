#ifndef SERVER_PROTOCOL_ENTERRESPONSEMESSAGE_H
#define SERVER_PROTOCOL_ENTERRESPONSEMESSAGE_H

#include "server/protocol/basemessage.h"

#include <QByteArray>

// Server to terminal, always sent encrypted: the admission answer.
// Payload: status, licence class index, entry ID, len1, len2, len3, then the
// identity-card number (local 8-bit), the full name (UTF-8) and the portrait
// (Base64 text of a JPEG).
class EnterResponseMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 27;
    static const int FIXED_SIZE = 24;

    EnterResponseMessage();
    explicit EnterResponseMessage(bool encrypted);

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;
    int parseEncrypted(const char *payload, int size, AesCipher *cipher) override;

    qint32 getStatus() const;
    void setStatus(qint32 status);
    qint32 getLicenceClass() const;
    void setLicenceClass(qint32 licenceClass);
    qint32 getEntryId() const;
    void setEntryId(qint32 entryId);
    QByteArray getIdentityNumber() const;
    void setIdentityNumber(const QByteArray &identityNumber);
    QByteArray getFullName() const;
    void setFullName(const QByteArray &fullName);
    QByteArray getPortrait() const;
    void setPortrait(const QByteArray &portrait);

private:
    void updateLength();

    qint32 m_status = 0;
    qint32 m_licenceClass = 0;
    qint32 m_entryId = 0;
    QByteArray m_identityNumber;
    QByteArray m_fullName;
    QByteArray m_portrait;
};

#endif // SERVER_PROTOCOL_ENTERRESPONSEMESSAGE_H
