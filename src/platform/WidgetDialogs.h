#pragma once

#include "UserDialogs.h"

class QWidget;

// UserDialogs with the toolkit's modal message boxes and file dialogs, owned by a window.
class WidgetDialogs : public UserDialogs
{
public:
    explicit WidgetDialogs(QWidget *owner = nullptr);

    void setOwner(QWidget *owner) { m_owner = owner; }

    void message(const QString &text, Icon icon, const QString &title) override;
    bool question(const QString &text, const QString &title) override;
    Answer askYesNoCancel(const QString &text, const QString &title) override;
    std::optional<QString> openFile(const QString &title, const FileFilter &filter) override;
    std::optional<QString> saveFile(const QString &title, const FileFilter &filter,
                                    const QString &defaultSuffix) override;

private:
    QWidget *m_owner;
};
