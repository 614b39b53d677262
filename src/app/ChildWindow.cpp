#include "ChildWindow.h"

#include <QCloseEvent>

ChildWindow::ChildWindow(QWidget *form, bool resizable, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_resizable(resizable)
{
    setWidget(form);
    setObjectName(form->objectName() + QStringLiteral("Frame"));
    setWindowTitle(form->windowTitle());
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (!resizable) {
        // A fixed frame: the size follows the form's own size hint.
        adjustSize();
        setFixedSize(sizeHint());
        setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    }
}

void ChildWindow::closeEvent(QCloseEvent *event)
{
    if (m_unloading) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    event->ignore();
    hide();
    Q_EMIT closedByUser();
}
