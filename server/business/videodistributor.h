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
// a slow terminal gets every byte instead of being cut off; one that takes
// nothing for STALL_TIMEOUT_MS is left out of the rest of the send, so that
// it holds up neither the others nor the caller. A file that cannot be
// opened is sent to nobody.
class VideoDistributor
{
public:
    static const int CHUNK_SIZE = 10240;
    static const int CHUNK_PAUSE_MS = 4;
    // Room kept free in a terminal's send buffer during a transfer, so that
    // a reply to the terminal (an admission with its portrait) still fits
    // under the connection's cap and does not end the connection.
    static const quint64 REPLY_RESERVE_BYTES = 64 * 1024;
    // Well below the connection's own stall limit, which would end the
    // connection: a terminal left out of a send may still sit its exam.
    static const int STALL_TIMEOUT_MS = 10000;

    // What one run did, as the super-administrator is told it.
    struct Outcome
    {
        // Files sent whole to every terminal still in the run at its turn.
        int filesSent = 0;
        // Terminals that received every one of them.
        int terminalsServed = 0;
        // Listed paths that could not be opened or read: sent to nobody, or
        // cut short where the read failed.
        QStringList filesNotSent;
        // Terminals (their addresses) left out before the end: they stopped
        // taking data or went away.
        QStringList terminalsLeftOut;
        // Ended early by requestStop().
        bool stopped = false;
    };

    explicit VideoDistributor(IOController *controller);

    // Returns once every file went to every terminal (or the terminal was
    // left out); writes "elapse: <ms>" to standard output.
    Outcome distribute(const QStringList &videos);

    // The program is ending: the run in progress returns within a few
    // milliseconds and any later one at once. Async-signal-safe, so a
    // termination signal's handler can call it while the run holds the
    // thread that would otherwise hear the signal.
    static void requestStop();
    static bool stopRequested();

private:
    IOController *m_controller;
};

#endif // SERVER_BUSINESS_VIDEODISTRIBUTOR_H
