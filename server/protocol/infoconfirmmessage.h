#ifndef SERVER_PROTOCOL_INFOCONFIRMMESSAGE_H
#define SERVER_PROTOCOL_INFOCONFIRMMESSAGE_H

#include "server/protocol/basemessage.h"

// Terminal to server: the candidate confirms the start of the test, or asks
// to review the stored answers. Payload: flag (one byte, carried but not
// used by the server), entry ID, review (one byte).
class InfoConfirmMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 9;
    static const int FIXED_SIZE = 6;

    InfoConfirmMessage();
    explicit InfoConfirmMessage(bool encrypted);

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;
    int parseEncrypted(const char *payload, int size, AesCipher *cipher) override;

    bool getFlag() const;
    void setFlag(bool flag);
    qint32 getEntryId() const;
    void setEntryId(qint32 entryId);
    bool getReview() const;
    void setReview(bool review);

private:
    bool m_flag = false;
    qint32 m_entryId = 0;
    bool m_review = false;
};

#endif // SERVER_PROTOCOL_INFOCONFIRMMESSAGE_H
