#pragma once

#include "UserDialogs.h"

// Dialogs for code that must never open a box (a report's plots, a benchmark): messages are
// dropped, questions answered No (Cancel where there is one), file dialogs cancelled.
class SilentDialogs : public UserDialogs
{
public:
    void message(const QString &, Icon, const QString &) override {}
    bool question(const QString &, const QString &) override { return false; }
    Answer askYesNoCancel(const QString &, const QString &) override { return Answer::Cancel; }
    std::optional<QString> openFile(const QString &, const FileFilter &) override { return std::nullopt; }
    std::optional<QString> saveFile(const QString &, const FileFilter &, const QString &) override
    {
        return std::nullopt;
    }
};
