#include "PyDialogs.h"

void PyDialogs::message(const QString &text, Icon, const QString &)
{
    if (!m_messages.contains(text))
        m_messages << text;
}

QStringList PyDialogs::take()
{
    QStringList messages;
    messages.swap(m_messages);
    return messages;
}
