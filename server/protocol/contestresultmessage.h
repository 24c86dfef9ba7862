#ifndef SERVER_PROTOCOL_CONTESTRESULTMESSAGE_H
#define SERVER_PROTOCOL_CONTESTRESULTMESSAGE_H

#include "server/protocol/basemessage.h"

#include <QByteArray>

// Terminal to server: a candidate's simulation result.
// Payload: score, pass mark, passed (one byte), entry ID, len1, len2, then the
// course code and the answers text, both in the local 8-bit code page.
class ContestResultMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 24;
    static const int FIXED_SIZE = 21;

    ContestResultMessage();
    explicit ContestResultMessage(bool encrypted);

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;
    int parseEncrypted(const char *payload, int size, AesCipher *cipher) override;

    qint32 getScore() const;
    void setScore(qint32 score);
    qint32 getPassMark() const;
    void setPassMark(qint32 passMark);
    bool getPassed() const;
    void setPassed(bool passed);
    qint32 getEntryId() const;
    void setEntryId(qint32 entryId);
    QByteArray getCourseCode() const;
    void setCourseCode(const QByteArray &courseCode);
    QByteArray getAnswers() const;
    void setAnswers(const QByteArray &answers);

private:
    void updateLength();

    qint32 m_score = 0;
    qint32 m_passMark = 0;
    bool m_passed = false;
    qint32 m_entryId = 0;
    QByteArray m_courseCode;
    QByteArray m_answers;
};

#endif // SERVER_PROTOCOL_CONTESTRESULTMESSAGE_H
