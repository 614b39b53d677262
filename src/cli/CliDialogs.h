#pragma once

#include "platform/UserDialogs.h"

// Message boxes of the board link, for a terminal: each message goes to standard error;
// questions are answered No (Cancel where there is one) and file dialogs cancelled (the tool asks nothing).
class CliDialogs : public UserDialogs
{
public:
    void message(const QString &text, Icon icon, const QString &title) override;
    bool question(const QString &text, const QString &title) override;
    Answer askYesNoCancel(const QString &text, const QString &title) override;
    std::optional<QString> openFile(const QString &title, const FileFilter &filter) override;
    std::optional<QString> saveFile(const QString &title, const FileFilter &filter,
                                    const QString &defaultSuffix) override;
};
