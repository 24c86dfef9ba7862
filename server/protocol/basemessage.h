#ifndef SERVER_PROTOCOL_BASEMESSAGE_H
#define SERVER_PROTOCOL_BASEMESSAGE_H

#include <QtGlobal>

class AesCipher;

// A terminal message: its frame length and type, and the payload fields the
// subclass holds. Integers travel as 32-bit big-endian; byte parts are
// announced by a 32-bit length that precedes them in the fixed part.
class BaseMessage
{
public:
    BaseMessage(quint8 type, quint16 length);
    virtual ~BaseMessage();

    BaseMessage(const BaseMessage &) = delete;
    BaseMessage &operator=(const BaseMessage &) = delete;

    // Writes the payload (no frame header) into buffer; 0, or -1 when room
    // is too small for the fixed part and every byte part.
    virtual int serialize(char *buffer, int room) const = 0;
    // Reads the fields from a plain payload; 0, or -1 when the payload is
    // shorter than its fixed part or than the parts it announces.
    virtual int parse(const char *payload, int size) = 0;
    // Decrypts and parses an encrypted payload. Types that never travel
    // encrypted accept anything and keep their fields.
    virtual int parseEncrypted(const char *payload, int size, AesCipher *cipher);

    quint16 getLength() const;
    quint8 getType() const;
    void setLength(quint16 length);
    void setType(quint8 type);

protected:
    // The encrypted layout shared by the four types that may travel
    // encrypted: pad count, 16-byte IV, then whole blocks of ciphertext. On
    // success the message carries plainType again.
    int parseEncryptedAs(const char *payload, int size, AesCipher *cipher, quint8 plainType);

    // Length arithmetic is 64-bit so announced part lengths near 2^31
    // cannot wrap into a small sum.
    void setLengthFrom(qint64 frameLength);
    static bool fits(qint64 needed, qint64 available);
    static qint32 readInt32(const char *bytes);
    static void writeInt32(char *bytes, qint32 value);

private:
    quint16 m_length;
    quint8 m_type;
};

#endif // SERVER_PROTOCOL_BASEMESSAGE_H
