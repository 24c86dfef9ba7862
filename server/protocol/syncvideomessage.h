#ifndef SERVER_PROTOCOL_SYNCVIDEOMESSAGE_H
#define SERVER_PROTOCOL_SYNCVIDEOMESSAGE_H

#include "server/protocol/basemessage.h"

#include <QByteArray>

// Server to terminal: the whole payload is one chunk of the video file
// announced by the last StartSyncVideoMessage.
class SyncVideoMessage : public BaseMessage
{
public:
    static const int BASE_LENGTH = 3;

    SyncVideoMessage();

    int serialize(char *buffer, int room) const override;
    int parse(const char *payload, int size) override;

    QByteArray getData() const;
    void setData(const QByteArray &data);

private:
    QByteArray m_data;
};

#endif // SERVER_PROTOCOL_SYNCVIDEOMESSAGE_H
