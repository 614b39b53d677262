#pragma once

#include "platform/SettingsStore.h"

#include <QMap>

// A settings store in memory, for tests that check what is written and read.
class MemorySettingsStore : public SettingsStore
{
public:
    QMap<QString, QString> values; // "Section/Key" -> value

    QString get(const QString &section, const QString &key, const QString &defaultValue) const override
    {
        return values.value(section + QLatin1Char('/') + key, defaultValue);
    }

    void save(const QString &section, const QString &key, const QString &value) override
    {
        values.insert(section + QLatin1Char('/') + key, value);
    }
};
