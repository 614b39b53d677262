#pragma once

#include "platform/UserDialogs.h"

#include <QQueue>
#include <QStringList>

// UserDialogs for tests: records every box and dialog (as text) and answers from queues.
// With an empty queue a question is answered No (Cancel with three buttons) and a file
// dialog is cancelled.
class ScriptedDialogs : public UserDialogs
{
public:
    struct Box
    {
        QString text;
        Icon icon;
        QString title;
    };

    QList<Box> boxes;             // every message and question, in order
    QQueue<bool> answers;         // next answers to question()
    QQueue<Answer> choices;       // next answers to askYesNoCancel(); Cancel when empty
    QQueue<QString> fileAnswers;  // next chosen files; an empty string cancels
    QStringList fileDialogTitles; // every file dialog shown

    void message(const QString &text, Icon icon, const QString &title) override
    {
        boxes.append({text, icon, title});
    }

    bool question(const QString &text, const QString &title) override
    {
        boxes.append({text, Icon::Question, title});
        return answers.isEmpty() ? false : answers.dequeue();
    }

    Answer askYesNoCancel(const QString &text, const QString &title) override
    {
        boxes.append({text, Icon::Question, title});
        return choices.isEmpty() ? Answer::Cancel : choices.dequeue();
    }

    std::optional<QString> openFile(const QString &title, const FileFilter &) override
    {
        return nextFile(title);
    }

    std::optional<QString> saveFile(const QString &title, const FileFilter &, const QString &) override
    {
        return nextFile(title);
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Box &b : boxes)
            result << b.text;
        return result;
    }

private:
    std::optional<QString> nextFile(const QString &title)
    {
        fileDialogTitles << title;
        if (fileAnswers.isEmpty())
            return std::nullopt;
        const QString file = fileAnswers.dequeue();
        if (file.isEmpty())
            return std::nullopt;
        return file;
    }
};
