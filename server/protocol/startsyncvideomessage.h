#ifndef SERVER_PROTOCOL_STARTSYNCVIDEOMESSAGE_H
#define SERVER_PROTOCOL_STARTSYNCVIDEOMESSAGE_H

#include "server/protocol/basemessage.h"

#include <QByteArray>

// Server to terminal: the whole payload is the UTF-8 path of the video file
// whose chunks follow.
class StartSyncVideoMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 3;

    StartSyncVideoMessage();

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;

    QByteArray getPath() const;
    void setPath(const QByteArray &path);

private:
    QByteArray m_path;
};

#endif // SERVER_PROTOCOL_STARTSYNCVIDEOMESSAGE_H
