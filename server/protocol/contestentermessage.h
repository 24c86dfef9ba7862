#ifndef SERVER_PROTOCOL_CONTESTENTERMESSAGE_H
#define SERVER_PROTOCOL_CONTESTENTERMESSAGE_H

#include "server/protocol/basemessage.h"

#include <QByteArray>

// Terminal to server: a candidate asks to sit the test, by course code
// (IDKhoaHoc) and order number (SoBaoDanh), both UTF-8.
// Payload: len1, len2, course code, order number.
class ContestEnterMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 11;
    static const int FIXED_SIZE = 8;

    ContestEnterMessage();
    // Set, the message carries the encrypted type number.
    explicit ContestEnterMessage(bool encrypted);

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;
    int parseEncrypted(const char *payload, int size, AesCipher *cipher) override;

    QByteArray getCourseCode() const;
    void setCourseCode(const QByteArray &courseCode);
    QByteArray getOrderNumber() const;
    void setOrderNumber(const QByteArray &orderNumber);

private:
    void updateLength();

    QByteArray m_courseCode;
    QByteArray m_orderNumber;
};

#endif // SERVER_PROTOCOL_CONTESTENTERMESSAGE_H
