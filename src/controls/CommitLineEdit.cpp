#include "CommitLineEdit.h"

#include <QKeyEvent>

CommitLineEdit::CommitLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

CommitLineEdit::CommitLineEdit(const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
{
}

void CommitLineEdit::keyPressEvent(QKeyEvent *event)
{
    QLineEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        commitIfEdited();
}

void CommitLineEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    commitIfEdited();
}

void CommitLineEdit::commitIfEdited()
{
    if (!isModified() && !m_commitsUnchanged)
        return;
    setModified(false);
    Q_EMIT committed();
}
