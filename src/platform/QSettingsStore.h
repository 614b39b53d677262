#pragma once

#include "SettingsStore.h"

#include <QSettings>

// The settings store on the platform's per-user settings (organisation and application
// "QM416x"). A settings file that cannot be parsed is moved aside, so the program starts
// with its defaults and can save again.
class QSettingsStore : public SettingsStore
{
public:
    QSettingsStore();

    QString get(const QString &section, const QString &key, const QString &defaultValue) const override;
    void save(const QString &section, const QString &key, const QString &value) override;

    QString fileName() const { return m_settings.fileName(); }
    // The file a damaged settings file was moved to at start-up; empty when none was.
    QString movedAside() const { return m_movedAside; }

private:
    mutable QSettings m_settings;
    QString m_movedAside;
};
