#pragma once

#include "platform/UserDialogs.h"

#include <QStringList>

// The link's message boxes for a script: messages are kept for the exception the call
// raises; questions are answered No (Cancel where there is one), file dialogs cancelled.
class PyDialogs : public UserDialogs
{
public:
    void message(const QString &text, Icon icon, const QString &title) override;
    bool question(const QString &text, const QString &title) override;
    Answer askYesNoCancel(const QString &text, const QString &title) override;
    std::optional<QString> openFile(const QString &title, const FileFilter &filter) override;
    std::optional<QString> saveFile(const QString &title, const FileFilter &filter,
                                    const QString &defaultSuffix) override;

    // The messages since the last take, and none kept.
    QStringList take();

private:
    QStringList m_messages;
};
