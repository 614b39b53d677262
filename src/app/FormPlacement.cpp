#include "FormPlacement.h"

#include "model/Rounding.h"
#include "platform/SettingsStore.h"

#include <QWidget>

#include <cmath>
#include <optional>

namespace {

std::optional<float> number(const SettingsStore &s, const QString &section, const QString &key)
{
    bool ok = false;
    const float v = s.get(section, key, QString()).trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<bool> boolean(const SettingsStore &s, const QString &section, const QString &key)
{
    const QString text = s.get(section, key, QString()).trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n != 0;
}

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

} // namespace

void RestoreFormPlacement(QWidget *window, const QString &section, bool resizable, SettingsStore &settings)
{
    window->hide();

    // The stored position and size are those of the normal window: apply them first, then
    // the state on top, so that leaving a restored maximised state gives them back.
    int state = stateCode(window);
    if (const auto v = number(settings, section, QStringLiteral("State")); v && *v >= 0 && *v <= 2)
        state = static_cast<int>(*v);
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        window->setWindowState(Qt::WindowNoState);

    if (resizable) {
        QSize size = window->size();
        if (const auto h = number(settings, section, QStringLiteral("Height")); h && *h > 0)
            size.setHeight(roundToInt(*h));
        if (const auto w = number(settings, section, QStringLiteral("Width")); w && *w > 0)
            size.setWidth(roundToInt(*w));
        window->resize(size);
    }
    QPoint pos = window->pos();
    if (const auto left = number(settings, section, QStringLiteral("Left")))
        pos.setX(roundToInt(*left));
    if (const auto top = number(settings, section, QStringLiteral("Top")))
        pos.setY(roundToInt(*top));
    window->move(pos);

    if (state != 0)
        window->setWindowState(stateFlags(state));
    if (const auto visible = boolean(settings, section, QStringLiteral("Visible")); visible && *visible)
        window->show();
}

void SaveFormPlacement(QWidget *window, const QString &section, bool resizable, SettingsStore &settings)
{
    settings.save(section, QStringLiteral("State"), QString::number(stateCode(window)));
    settings.save(section, QStringLiteral("Visible"),
                  window->isHidden() ? QStringLiteral("False") : QStringLiteral("True"));
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        window->setWindowState(Qt::WindowNoState);
    settings.save(section, QStringLiteral("Left"), QString::number(float(window->x())));
    settings.save(section, QStringLiteral("Top"), QString::number(float(window->y())));
    if (resizable) {
        settings.save(section, QStringLiteral("Width"), QString::number(float(window->width())));
        settings.save(section, QStringLiteral("Height"), QString::number(float(window->height())));
    }
}
