#include "SimLineReader.h"

bool SimLineReader::feed(char byte)
{
    if (byte == '[') {
        m_inLine = true;
        m_line.clear();
        m_overflowed = false;
        return false;
    }
    if (!m_inLine || byte == '\n')
        return false;
    if (byte == '\r') {
        m_inLine = false;
        return true;
    }
    if (m_line.size() < Capacity)
        m_line.append(byte);
    else
        m_overflowed = true;
    return false;
}
