#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Message boxes and file dialogs, as the program's logic asks for them. The windows use
// an implementation with real modal boxes; tests use a scripted one that records every
// box and answers from a queue, so that no test ever blocks on a modal window.
class UserDialogs
{
public:
    enum class Icon
    {
        None,
        Information,
        Warning,
        Critical,
        Question
    };

    enum class Answer
    {
        Yes,
        No,
        Cancel
    };

    struct FileFilter
    {
        // Filters as the file dialog shows them, e.g. "Datas Files (*.dat)".
        QStringList filters;
        int selected = 0;
    };

    virtual ~UserDialogs() = default;

    // A box with one OK button.
    virtual void message(const QString &text, Icon icon = Icon::None, const QString &title = QString()) = 0;
    // A box with Yes and No buttons; true for Yes.
    virtual bool question(const QString &text, const QString &title = QString()) = 0;
    // A box with Yes, No and Cancel buttons; closing it is Cancel.
    virtual Answer askYesNoCancel(const QString &text, const QString &title = QString()) = 0;
    // The chosen file, or nothing when the user cancelled.
    virtual std::optional<QString> openFile(const QString &title, const FileFilter &filter) = 0;
    virtual std::optional<QString> saveFile(const QString &title, const FileFilter &filter,
                                            const QString &defaultSuffix) = 0;
};
