#include "FormPlacement.h"

#include "ChildWindow.h"
#include "PlacementFit.h"
#include "StoredPlacement.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

constexpr int FrameWaitMs = 1000;

int stateCode(const QWidget *w)
{
    if (w->windowState() & Qt::WindowMinimized)
        return 1;
    if (w->windowState() & Qt::WindowMaximized)
        return 2;
    return 0;
}

Qt::WindowStates stateFlags(int code)
{
    return code == 1 ? Qt::WindowMinimized : code == 2 ? Qt::WindowMaximized : Qt::WindowNoState;
}

// Where the window may go: the screens' available areas (primary first) for a top-level
// window, the parent's area for a child window.
QList<QRect> areasFor(const QWidget *window)
{
    QList<QRect> areas;
    if (!window->isWindow()) {
        if (window->parentWidget())
            areas << window->parentWidget()->rect();
        return areas;
    }
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    return areas;
}

// What the window manager draws around a top-level window's inside (known once the window
// has been shown); a child window's frame is part of its geometry.
QMargins frameOf(QWidget *window)
{
    if (!window->isWindow())
        return {};
    // The window manager frames a window as it maps it: a window just shown is given a
    // moment (events run meanwhile) so that its frame is known.
    if (window->isVisible() && window->windowHandle() && !window->windowHandle()->isExposed()) {
        QElapsedTimer clock;
        clock.start();
        while (!window->windowHandle()->isExposed() && clock.elapsed() < FrameWaitMs)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    }
    const QRect inside = window->geometry();
    const QRect whole = window->frameGeometry();
    return {inside.left() - whole.left(), inside.top() - whole.top(), whole.right() - inside.right(),
            whole.bottom() - inside.bottom()};
}

} // namespace

void RestoreFormPlacement(QWidget *window, const QString &section, bool resizable, SettingsStore &settings)
{
    const QMargins frame = frameOf(window);
    window->hide();
    const StoredPlacement stored =
        StoredPlacement::read(settings, section, resizable, window->geometry(), stateCode(window));

    // The stored position and size are those of the normal window: apply them first, then
    // the state on top, so that leaving a restored maximised state gives them back.
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        window->setWindowState(Qt::WindowNoState);
    // Inside to inside: the stored corner is that of the window's inside, so the window
    // manager's frame never shifts it from one run to the next.
    const QRect fitted = PlacementFit::fit(stored.normal, frame, areasFor(window));
    // A window never placed keeps the place its parent or the window manager gives it.
    if (stored.positionStored || fitted.topLeft() != window->geometry().topLeft())
        window->setGeometry(fitted);
    else
        window->resize(fitted.size());

    if (stored.state != 0)
        window->setWindowState(stateFlags(stored.state));
    if (stored.visible.value_or(false))
        window->show();
}

void SaveFormPlacement(QWidget *window, const QString &section, bool resizable, SettingsStore &settings)
{
    StoredPlacement placement;
    placement.state = stateCode(window);
    placement.visible = !window->isHidden();
    // The position and size of the normal (restored) window. A top-level window knows them
    // while maximised; a child window gives them back when it leaves that state.
    placement.normal = window->isWindow() ? window->normalGeometry() : QRect();
    const auto *child = qobject_cast<const ChildWindow *>(window);
    if (child && !child->isPlaced()) {
        // Never shown and nothing stored: there is no place to remember yet.
        placement.normal = QRect();
    } else if (placement.normal.isEmpty()) {
        if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
            window->setWindowState(Qt::WindowNoState);
        placement.normal = window->geometry();
    }
    placement.write(settings, section, resizable);
}
