#include "tests/support/testterminalframe.h"

#include <QtEndian>

QByteArray TestTerminalFrame::encode(int type, const QByteArray &payload)
{
    if (payload.size() > 65535 - 3 || type < 0 || type > 255)
        return QByteArray();
    char header[3];
    qToBigEndian(static_cast<quint16>(payload.size() + 3), header);
    header[2] = static_cast<char>(type);
    return QByteArray(header, 3) + payload;
}

TestTerminalFrame::Take TestTerminalFrame::take(QByteArray *buffer, TestTerminalFrame *frame)
{
    if (buffer->size() < 3)
        return Incomplete;
    const int length = qFromBigEndian<quint16>(buffer->constData());
    if (length < 3)
        return Invalid;
    if (buffer->size() < length)
        return Incomplete;
    frame->type = static_cast<unsigned char>(buffer->at(2));
    frame->payload = buffer->mid(3, length - 3);
    buffer->remove(0, length);
    return Complete;
}
