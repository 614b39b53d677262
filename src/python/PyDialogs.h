#pragma once

#include "platform/SilentDialogs.h"

#include <QStringList>

// The link's message boxes for a script: messages are kept for the exception the call
// raises; questions are answered No (Cancel where there is one), file dialogs cancelled.
class PyDialogs : public SilentDialogs
{
public:
    void message(const QString &text, Icon icon, const QString &title) override;

    // The messages since the last take, and none kept.
    QStringList take();

private:
    QStringList m_messages;
};
