#ifndef SERVER_PROTOCOL_REVIEWMESSAGE_H
#define SERVER_PROTOCOL_REVIEWMESSAGE_H

#include "server/protocol/basemessage.h"

#include <QByteArray>

// Server to terminal: a candidate's stored answers, for review.
// Payload: len, then the answers text in the local 8-bit code page.
class ReviewMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 7;
    static const int FIXED_SIZE = 4;

    ReviewMessage();

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;

    QByteArray getAnswers() const;
    void setAnswers(const QByteArray &answers);

private:
    QByteArray m_answers;
};

#endif // SERVER_PROTOCOL_REVIEWMESSAGE_H
