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
    if (!resizable)
        setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

void ChildWindow::fitFixedSize()
{
    if (m_resizable)
        return;
    // The frame's size hint counts the title bar only once the frame sits in its area.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint());
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
