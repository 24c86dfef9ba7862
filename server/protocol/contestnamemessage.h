#ifndef SERVER_PROTOCOL_CONTESTNAMEMESSAGE_H
#define SERVER_PROTOCOL_CONTESTNAMEMESSAGE_H

#include "server/protocol/basemessage.h"

#include <QByteArray>

// Both directions: kind 0 is a terminal's request for the course list (no
// parts), kind 1 the server's reply. Payload: kind (one byte), len1, len2,
// then the course codes and the course names, each joined by ";", UTF-8.
class ContestNameMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 12;
    static const int FIXED_SIZE = 9;
    static const quint8 KIND_REQUEST = 0;
    static const quint8 KIND_REPLY = 1;

    ContestNameMessage();

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;

    quint8 getKind() const;
    void setKind(quint8 kind);
    QByteArray getCourseCodes() const;
    void setCourseCodes(const QByteArray &courseCodes);
    QByteArray getCourseNames() const;
    void setCourseNames(const QByteArray &courseNames);

private:
    void updateLength();

    quint8 m_kind = KIND_REQUEST;
    QByteArray m_courseCodes;
    QByteArray m_courseNames;
};

#endif // SERVER_PROTOCOL_CONTESTNAMEMESSAGE_H
