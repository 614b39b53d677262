#pragma once

#include "platform/SilentDialogs.h"

// Message boxes of the board link, for a terminal: each message goes to standard error;
// questions are answered No (Cancel where there is one) and file dialogs cancelled (the tool asks nothing).
class CliDialogs : public SilentDialogs
{
public:
    void message(const QString &text, Icon icon, const QString &title) override;
    bool question(const QString &text, const QString &title) override;
    Answer askYesNoCancel(const QString &text, const QString &title) override;
};
