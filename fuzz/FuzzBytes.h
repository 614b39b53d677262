#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// The fuzz input read as a stream of choices. Past its end every choice is 0 and every
// byte string empty, so a program always ends.
class FuzzBytes
{
public:
    FuzzBytes(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    bool atEnd() const { return m_pos >= m_size; }
    uint8_t byte() { return atEnd() ? 0 : m_data[m_pos++]; }
    // A choice among count possibilities (count > 0).
    int choice(int count) { return byte() % count; }
    // Up to count bytes, as many as are left.
    QByteArray take(size_t count)
    {
        const size_t n = count < m_size - m_pos ? count : m_size - m_pos;
        const QByteArray bytes(reinterpret_cast<const char *>(m_data + m_pos), static_cast<qsizetype>(n));
        m_pos += n;
        return bytes;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};
