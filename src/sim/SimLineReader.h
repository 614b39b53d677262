#pragma once

#include <QByteArray>

// The board firmware's command line input: "[" starts a line, CR ends it, LF and bytes
// outside a line are ignored. The line buffer is fixed; a longer line is remembered as
// overflowed and its excess bytes are dropped.
class SimLineReader
{
public:
    static constexpr int Capacity = 64;

    // True when byte completed a line; line() and overflowed() then describe it.
    bool feed(char byte);
    const QByteArray &line() const { return m_line; }
    bool overflowed() const { return m_overflowed; }

private:
    QByteArray m_line;
    bool m_inLine = false;
    bool m_overflowed = false;
};
