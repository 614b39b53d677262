#pragma once

#include "HistoryDatabase.h"

class ClassData;
class QM4168;
class SettingsStore;
class UserDialogs;

// The program's side of the history: every completed acquisition recorded in the user's
// database, unless switched off (section "FormMain", key "RecordHistory", "False" when off;
// on by default). The database is opened at the first capture. When it cannot be opened the
// user is told once, with its path and reason, and the program carries on without history
// until the next start; a capture that cannot be written is told each time.
class HistoryRecorder
{
public:
    HistoryRecorder(SettingsStore &settings, UserDialogs &dialogs,
                    const QString &path = HistoryDatabase::defaultPath());

    bool enabled() const;
    void setEnabled(bool on);

    // The id of the recorded capture; 0 when nothing was recorded.
    qint64 record(const ClassData &store, const QM4168 &model);

    // The database, opened on demand; nothing when it cannot be (error() of it says why).
    HistoryDatabase *database();

private:
    SettingsStore &m_settings;
    UserDialogs &m_dialogs;
    QString m_path;
    HistoryDatabase m_db;
    bool m_refused = false; // the user has been told; no further attempts this run
};
