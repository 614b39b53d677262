#include "FrameFit.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

void fitFrameTo(QWidget *form, QSize wanted)
{
    if (form->size() == wanted || !form->parentWidget())
        return;
    QPointer<QWidget> guard(form);
    QTimer::singleShot(0, form, [guard, wanted] {
        QWidget *frame = guard ? guard->parentWidget() : nullptr;
        // A maximised or minimised frame keeps the size its area gives it.
        if (!frame || guard->size() == wanted || frame->isMaximized() || frame->isMinimized())
            return;
        frame->resize(frame->size() + (wanted - guard->size()));
    });
}
