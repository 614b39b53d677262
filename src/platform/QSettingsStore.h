#pragma once

#include "SettingsStore.h"

#include <QSettings>

#include <functional>

// The settings store on the platform's per-user settings (organisation and application
// "QM416x"). A settings file that cannot be parsed is moved aside, so the program starts
// with its defaults and can save again; entries the program does not use can be dropped
// (keepOnly), a copy of the file as it was being kept. A store that cannot be written (a
// read-only file, a folder in its place) is found at start-up; then nothing is dropped.
// damageReport() says what happened, for the user.
class QSettingsStore : public SettingsStore
{
public:
    QSettingsStore();

    QString get(const QString &section, const QString &key, const QString &defaultValue) const override;
    void save(const QString &section, const QString &key, const QString &value) override;

    QString fileName() const { return m_settings.fileName(); }
    // The file a damaged settings file was moved or copied to; empty when none was.
    QString movedAside() const { return m_movedAside; }

    // Removes every entry for which known(section, key) is false, after copying the file
    // aside; nothing is removed when the copy cannot be made or the file cannot be written.
    // Returns the entries removed from the file.
    int keepOnly(const std::function<bool(const QString &section, const QString &key)> &known);

    // Why the settings file cannot be written ("Permission denied", "it is a folder"), as
    // found at start-up; empty when it can be.
    QString writeProblem() const { return m_writeProblem; }

    // What the user should be told about the settings file found at start-up: why it was
    // reset or cleaned and where the copy is, or that settings will not be kept and why;
    // empty when the file was sound.
    QString damageReport() const;

private:
    QString keepCopy();
    QString findWriteProblem() const;

    mutable QSettings m_settings;
    QString m_movedAside;
    bool m_unreadable = false;
    int m_dropped = 0;
    QString m_writeProblem;
};
