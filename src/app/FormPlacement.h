#pragma once

#include <QString>

class QWidget;
class SettingsStore;

// Where a window was left: state (0 normal, 1 minimised, 2 maximised), visibility,
// position and, for resizable windows, size; one settings section per window. window is a
// top-level window or the frame of a child window. Every step that meets a missing or
// malformed value is skipped, so placement never stops a window from opening or closing.
void RestoreFormPlacement(QWidget *window, const QString &section, bool resizable, SettingsStore &settings);
void SaveFormPlacement(QWidget *window, const QString &section, bool resizable, SettingsStore &settings);
