#include "ComMonitorText.h"

bool ComMonitorText::Display(const QString &text)
{
    bool structural = false;
    for (const QChar c : text) {
        if (c.unicode() == 13) {
            if (m_lines.size() >= MaxLines)
                m_lines.removeFirst();
            m_lines.append(QString());
            structural = true;
        } else if (c.unicode() > 31) {
            if (m_lines.isEmpty()) {
                m_lines.append(QString());
                structural = true;
            }
            m_lines.last().append(c);
        }
    }
    return structural;
}
