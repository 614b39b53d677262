#include "PyDialogs.h"

void PyDialogs::message(const QString &text, Icon, const QString &)
{
    if (!m_messages.contains(text))
        m_messages << text;
}

bool PyDialogs::question(const QString &, const QString &)
{
    return false;
}

UserDialogs::Answer PyDialogs::askYesNoCancel(const QString &, const QString &)
{
    return Answer::Cancel;
}

std::optional<QString> PyDialogs::openFile(const QString &, const FileFilter &)
{
    return std::nullopt;
}

std::optional<QString> PyDialogs::saveFile(const QString &, const FileFilter &, const QString &)
{
    return std::nullopt;
}

QStringList PyDialogs::take()
{
    QStringList messages;
    messages.swap(m_messages);
    return messages;
}
