#pragma once

#include <QString>

// The per-user settings store: text values by section and key, all under the
// application "QM416x". A missing entry is not an error: get returns the default.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString get(const QString &section, const QString &key, const QString &defaultValue) const = 0;
    virtual void save(const QString &section, const QString &key, const QString &value) = 0;
};
