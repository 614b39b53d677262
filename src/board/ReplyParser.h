#pragma once

#include <QString>

// Collects the board's reply lines from the received bytes: "[" starts a line (and drops
// whatever an unfinished line held), CR ends it, LF ends the collection without completing
// the line (the CR that follows completes it with what was collected), bytes outside a line
// are dropped. A CR with no line begun since the last one is dropped as well: it would
// otherwise hand out the previous reply a second time. A line is bounded: characters beyond
// MaxLineLength are dropped, so a board that never ends its line cannot grow the buffer.
class ReplyParser
{
public:
    static constexpr int MaxLineLength = 256;

    // Feeds one received byte; true when it was the CR that completes a line.
    bool feed(char byte);

    // The line being received, or after a CR the completed line, without "[" and CR/LF.
    const QString &ReplyBuffer() const { return m_buffer; }
    // True after a "[" until CR or LF.
    bool InReply() const { return m_inReply; }
    // True when the current line was cut at MaxLineLength.
    bool truncated() const { return m_truncated; }
    // The completed line is a reset notice of the board ("X ...").
    bool isResetNotice() const;

private:
    QString m_buffer;
    bool m_inReply = false;
    bool m_lineBegun = false; // a "[" since the last completed line
    bool m_truncated = false;
};
