#pragma once

#include <QLineEdit>

// A text box that commits its entry on Enter and whenever it loses the keyboard focus,
// whether or not the text changed: committed() is raised each time.
class CommitLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CommitLineEdit(QWidget *parent = nullptr);
    explicit CommitLineEdit(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void committed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
