#ifndef SERVER_PROTOCOL_FRAMECODEC_H
#define SERVER_PROTOCOL_FRAMECODEC_H

#include <QtGlobal>

#include <functional>
#include <string>

class AesCipher;
class BaseHandler;
class BaseMessage;

// Cuts a connection's received bytes into frames and frames its outgoing
// messages; it holds no socket, so the connection object owns one and keeps
// its own threads, locks and buffers:
//
//   ClientSocket::parseMessages(acc): codec.parseMessages(acc, id, enqueue)
//   ClientSocket::send(message):      codec.buildFrame(*message, &frame)
//       without a lock; -1 when it refuses. Then, under the send lock only,
//       append the frame to the send buffer and return its length.
//
// A frame is a 16-bit big-endian length of the whole frame, the type byte and
// the payload; types of 100 and more carry the encrypted payload (pad count,
// IV, ciphertext) and the length counts it.
class FrameCodec
{
public:
    // Takes the handler, also when it refuses it: false when the connection
    // may queue no more, which stops the reading.
    using HandlerSink = std::function<bool(BaseHandler *)>;

    // The cipher belongs to the connection and must outlive the codec.
    explicit FrameCodec(AesCipher *cipher);

    // Hands one handler (owning its message, carrying clientId) to enqueue
    // for every complete valid frame at the front of accumulated whose
    // message acts on the server, and erases the frames it read; a frame
    // whose message does nothing here (the server's own types, a course-list
    // reply) is read and dropped without a line. A frame still incomplete
    // stays for the next call. A length below 3, an unknown type or a
    // refused payload empties accumulated: the next byte received starts a
    // frame again. Each case writes its line on standard output. A handler
    // that enqueue refuses empties accumulated too, without a line: the
    // connection is ending.
    void parseMessages(std::string &accumulated, quint64 clientId,
                       const HandlerSink &enqueue) const;

    // The whole frame of message in *frame, encrypted with a fresh random IV
    // for types of 100 and more; returns its length. -1, with *frame left
    // empty, when the message does not serialize into its own length or the
    // frame would not fit the 16-bit length: a wrapped length would
    // desynchronise the terminal.
    int buildFrame(const BaseMessage &message, std::string *frame) const;

private:
    AesCipher *m_cipher;
};

#endif // SERVER_PROTOCOL_FRAMECODEC_H
