#pragma once

#include <QRect>
#include <QString>

#include <optional>

class SettingsStore;

// A window's placement as the settings store keeps it, one section per window: "State"
// (0 normal, 1 minimised, 2 maximised), "Visible" ("True"/"False"), and "Left", "Top",
// "Width", "Height" of the normal (not maximised) window's inside, as numbers. Width and
// Height belong to resizable windows only.
struct StoredPlacement
{
    int state = 0;
    std::optional<bool> visible; // nothing when not stored (or not readable)
    QRect normal;                // inside of the normal window
    bool positionStored = false; // Left or Top was found

    // What the store holds for section, over the window's current values: a missing or
    // malformed entry leaves the current value. Coordinates are cut to PlacementFit's limit.
    static StoredPlacement read(const SettingsStore &settings, const QString &section, bool resizable,
                                const QRect &current, int currentState);
    // Writes State and Visible, and the geometry unless normal is null (a window that has
    // no place of its own yet).
    void write(SettingsStore &settings, const QString &section, bool resizable) const;
};
