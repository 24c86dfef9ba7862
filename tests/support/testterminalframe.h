#ifndef TESTS_SUPPORT_TESTTERMINALFRAME_H
#define TESTS_SUPPORT_TESTTERMINALFRAME_H

// One frame as it travels: a 16-bit big-endian length counting the whole
// frame, a type byte, the payload.

#include <QByteArray>

struct TestTerminalFrame
{
    enum Take { Complete, Incomplete, Invalid };

    int type = -1;
    QByteArray payload;

    int length() const { return payload.size() + 3; }

    // The frame's bytes; empty when the payload cannot fit in 65535 bytes.
    static QByteArray encode(int type, const QByteArray &payload);
    // Takes the first frame off the front of buffer. A length field below 3
    // is Invalid and leaves the buffer as it was.
    static Take take(QByteArray *buffer, TestTerminalFrame *frame);
};

#endif // TESTS_SUPPORT_TESTTERMINALFRAME_H
