#ifndef SERVER_PROTOCOL_BYTEBUFFER_H
#define SERVER_PROTOCOL_BYTEBUFFER_H

#include <QtGlobal>

#include <memory>

// Raw bytes with a read position: the unread bytes are [readPos, end) of a
// storage of capacity bytes. Used for a connection's pending send bytes and
// for cutting received bytes into frames.
class ByteBuffer
{
public:
    static const quint64 DEFAULT_CAPACITY = 4096;

    ByteBuffer();
    // A copy of n bytes; capacity n.
    ByteBuffer(const char *bytes, quint64 n);

    ByteBuffer(const ByteBuffer &) = delete;
    ByteBuffer &operator=(const ByteBuffer &) = delete;

    // The two unread bytes at readPos as they lie in memory (the caller
    // converts from network order); false when fewer than 2 are unread.
    bool peekUInt16(quint16 *out) const;
    // Copies and consumes n bytes; false, consuming nothing, when fewer are
    // unread.
    bool read(char *dst, quint64 n);
    // Discards the first n unread bytes and moves the rest to the start of
    // the storage; does nothing when fewer than n are unread.
    void dropFront(quint64 n);
    // Adds n bytes after end. When they do not fit behind end, the unread
    // bytes move to new storage: exactly as large as needed when that is no
    // more than the current capacity, else the larger of the need and half
    // as large again as the current capacity, so bursts of appends cost few
    // reallocations.
    void append(const char *src, quint64 n);
    // Forgets every byte (readPos and end back to 0).
    void clear();

    const char *unreadData() const;
    quint64 unreadCount() const;
    quint64 capacity() const;
    quint64 readPos() const;
    quint64 end() const;

private:
    std::unique_ptr<char[]> m_data;
    quint64 m_capacity;
    quint64 m_readPos = 0;
    quint64 m_end = 0;
};

#endif // SERVER_PROTOCOL_BYTEBUFFER_H
