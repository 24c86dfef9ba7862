#include "server/protocol/bytebuffer.h"

#include <algorithm>
#include <cstring>

ByteBuffer::ByteBuffer()
    : m_data(new char[DEFAULT_CAPACITY]), m_capacity(DEFAULT_CAPACITY)
{
}

ByteBuffer::ByteBuffer(const char *bytes, quint64 n)
    : m_data(new char[n]), m_capacity(n), m_end(n)
{
    if (n > 0)
        std::memcpy(m_data.get(), bytes, n);
}

bool ByteBuffer::peekUInt16(quint16 *out) const
{
    if (out == nullptr || unreadCount() < 2)
        return false;
    std::memcpy(out, m_data.get() + m_readPos, 2);
    return true;
}

bool ByteBuffer::read(char *dst, quint64 n)
{
    if (n > unreadCount())
        return false;
    if (n > 0)
        std::memcpy(dst, m_data.get() + m_readPos, n);
    m_readPos += n;
    return true;
}

void ByteBuffer::dropFront(quint64 n)
{
    if (n > unreadCount())
        return;
    const quint64 remaining = unreadCount() - n;
    if (remaining > 0)
        std::memmove(m_data.get(), m_data.get() + m_readPos + n, remaining);
    m_readPos = 0;
    m_end = remaining;
}

void ByteBuffer::append(const char *src, quint64 n)
{
    if (n == 0)
        return;
    const quint64 unread = unreadCount();
    const quint64 need = unread + n;
    if (n > m_capacity - m_end) {
        const quint64 newCapacity = need <= m_capacity ? need : std::max(need, (3 * m_capacity) / 2);
        std::unique_ptr<char[]> storage(new char[newCapacity]);
        if (unread > 0)
            std::memcpy(storage.get(), m_data.get() + m_readPos, unread);
        m_data = std::move(storage);
        m_capacity = newCapacity;
        m_readPos = 0;
        m_end = unread;
    }
    std::memcpy(m_data.get() + m_end, src, n);
    m_end += n;
}

void ByteBuffer::clear()
{
    m_readPos = 0;
    m_end = 0;
}

const char *ByteBuffer::unreadData() const
{
    return m_data.get() + m_readPos;
}

quint64 ByteBuffer::unreadCount() const
{
    return m_end - m_readPos;
}

quint64 ByteBuffer::capacity() const
{
    return m_capacity;
}

quint64 ByteBuffer::readPos() const
{
    return m_readPos;
}

quint64 ByteBuffer::end() const
{
    return m_end;
}
