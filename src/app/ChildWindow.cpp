#include "ChildWindow.h"

#include "PlacementFit.h"

#include <QCloseEvent>
#include <QMdiArea>

ChildWindow::ChildWindow(QWidget *form, bool resizable, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_resizable(resizable)
    , m_designedSize(form->size())
{
    setWidget(form);
    setObjectName(form->objectName() + QStringLiteral("Frame"));
    setWindowTitle(form->windowTitle());
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (!resizable)
        setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

void ChildWindow::fitDesignedSize()
{
    if (m_resizable) {
        // The frame's size hint is the form's plus the title bar and borders.
        resize(m_designedSize + (sizeHint() - widget()->sizeHint()));
        return;
    }
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

void ChildWindow::showEvent(QShowEvent *event)
{
    if (!m_placed && mdiArea()) {
        m_placed = true;
        QList<QRect> taken;
        for (const QMdiSubWindow *other : mdiArea()->subWindowList())
            if (other != this && !other->isHidden())
                taken << other->geometry();
        move(PlacementFit::freePlace(size(), taken, mdiArea()->viewport()->rect()));
    }
    QMdiSubWindow::showEvent(event);
}
