#pragma once

#include <QString>

// The entries the program keeps in its settings store: the placement keys of every window
// (one section per window, named after it) and the few keys of the main window and the
// data window. Anything else in the store was not written by this program.
namespace SettingsKeys {

bool isKnown(const QString &section, const QString &key);

} // namespace SettingsKeys
