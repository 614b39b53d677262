#pragma once

#include <QLineEdit>

// A text box that commits the user's entry on Enter or when it loses the keyboard focus:
// committed() is raised then, once per entry, and only when the user has edited the text
// since the program last set it or the last commit. Passing through the box, or pressing
// Enter on a text the program wrote, commits nothing, so a value that does not read back
// exactly as it was set (a rounded voltage) is never re-entered by itself.
class CommitLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CommitLineEdit(QWidget *parent = nullptr);
    explicit CommitLineEdit(const QString &text, QWidget *parent = nullptr);

    // A box whose every Enter and loss of focus is a commit, edited or not (the register
    // rows: leaving a box always confirms its value, which reads back exactly).
    void setCommitsUnchanged(bool on) { m_commitsUnchanged = on; }

Q_SIGNALS:
    void committed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void commitIfEdited();

    bool m_commitsUnchanged = false;
};
