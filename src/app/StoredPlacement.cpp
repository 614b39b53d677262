#include "StoredPlacement.h"

#include "PlacementFit.h"
#include "platform/SettingsStore.h"

#include <cmath>

namespace {

std::optional<double> number(const SettingsStore &s, const QString &section, const QString &key)
{
    bool ok = false;
    const double v = s.get(section, key, QString()).trimmed().toDouble(&ok);
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

} // namespace

StoredPlacement StoredPlacement::read(const SettingsStore &settings, const QString &section, bool resizable,
                                      const QRect &current, int currentState)
{
    StoredPlacement p;
    p.state = currentState;
    if (const auto v = number(settings, section, QStringLiteral("State")); v && *v >= 0 && *v <= 2)
        p.state = static_cast<int>(*v);
    p.visible = boolean(settings, section, QStringLiteral("Visible"));
    p.normal = current;
    if (resizable) {
        if (const auto h = number(settings, section, QStringLiteral("Height")); h && *h >= 1)
            p.normal.setHeight(PlacementFit::coordinate(*h));
        if (const auto w = number(settings, section, QStringLiteral("Width")); w && *w >= 1)
            p.normal.setWidth(PlacementFit::coordinate(*w));
    }
    if (const auto left = number(settings, section, QStringLiteral("Left"))) {
        p.normal.moveLeft(PlacementFit::coordinate(*left));
        p.positionStored = true;
    }
    if (const auto top = number(settings, section, QStringLiteral("Top"))) {
        p.normal.moveTop(PlacementFit::coordinate(*top));
        p.positionStored = true;
    }
    return p;
}

void StoredPlacement::write(SettingsStore &settings, const QString &section, bool resizable) const
{
    settings.save(section, QStringLiteral("State"), QString::number(state));
    settings.save(section, QStringLiteral("Visible"),
                  visible.value_or(false) ? QStringLiteral("True") : QStringLiteral("False"));
    if (normal.isNull())
        return; // no place of its own yet
    settings.save(section, QStringLiteral("Left"), QString::number(float(normal.x())));
    settings.save(section, QStringLiteral("Top"), QString::number(float(normal.y())));
    if (resizable) {
        settings.save(section, QStringLiteral("Width"), QString::number(float(normal.width())));
        settings.save(section, QStringLiteral("Height"), QString::number(float(normal.height())));
    }
}
