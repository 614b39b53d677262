#pragma once

#include <QStringList>

// The text of the communication monitor: the recent serial traffic as at most 21 lines.
// A CR ends the current line and starts the next one (dropping the oldest line when 21
// are held), printable characters are appended to the last line, other control
// characters (LF included) are ignored. Text arriving before the first line starts one.
class ComMonitorText
{
public:
    static constexpr int MaxLines = 21;

    // Returns true when lines were added or removed (not only the last one extended).
    bool Display(const QString &text);

    const QStringList &lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

private:
    QStringList m_lines;
};
