#ifndef SERVER_BUSINESS_VIDEODISTRIBUTOR_H
#define SERVER_BUSINESS_VIDEODISTRIBUTOR_H

#include <QStringList>
#include <QtGlobal>

class IOController;

// Sends every listed video file to every terminal connected when it starts:
// a start message with the path, the file in chunks of at most 10240 bytes
// (one per slot of 4 ms, kept by deadline so the sending's own time is not
// added to the slot; a slot missed is not made up with two chunks), and an
// end message, terminal after terminal. A
// terminal's pending bytes are allowed to drain before more are queued, so
// a slow terminal gets every byte instead of being cut off.
class VideoDistributor
{
public:
    static const int CHUNK_SIZE = 10240;
    static const int CHUNK_PAUSE_MS = 4;
    // Room kept free in a terminal's send buffer during a transfer, so that
    // a reply to the terminal (an admission with its portrait) still fits
    // under the connection's cap and does not end the connection.
    static const quint64 REPLY_RESERVE_BYTES = 64 * 1024;

    explicit VideoDistributor(IOController *controller);

    // Returns once every file went to every terminal (or the terminal went);
    // writes "elapse: <ms>" to standard output.
    void distribute(const QStringList &videos);

private:
    IOController *m_controller;
};

#endif // SERVER_BUSINESS_VIDEODISTRIBUTOR_H
