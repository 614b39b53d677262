#include "ReplyParser.h"

bool ReplyParser::feed(char byte)
{
    switch (byte) {
    case '[':
        m_inReply = true;
        m_lineBegun = true;
        m_buffer.clear();
        m_truncated = false;
        return false;
    case '\n':
        m_inReply = false;
        return false;
    case '\r':
        m_inReply = false;
        if (!m_lineBegun)
            return false;
        m_lineBegun = false;
        return true;
    default:
        if (!m_inReply)
            return false;
        if (m_buffer.size() >= MaxLineLength) {
            m_truncated = true;
            return false;
        }
        m_buffer.append(QChar::fromLatin1(byte));
        return false;
    }
}

bool ReplyParser::isResetNotice() const
{
    return m_buffer.startsWith(QLatin1String("X "));
}
