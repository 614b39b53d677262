#pragma once

#include "HistoryCapture.h"
#include "HistoryEntry.h"

#include <QList>
#include <QString>

#include <optional>

// The measurement history: an SQLite database (through Qt SQL) of every completed capture,
// with its set-up, its figures and its codes. Each capture is written in a transaction of its
// own, with the write-ahead log on, so that a crash or power cut loses at most the capture
// being written. A second program writing the same file waits for its lock (up to
// BusyTimeoutMs) instead of failing.
//
// Opening never writes to a file it cannot read as a history database of this version or an
// older one: a damaged file, another program's database or a newer version is refused with
// a message naming the file, and left as it is. An older version is brought up to date in
// one transaction. Every failure comes back as false (or nothing) with error() set.
//
// One object is one connection, to be used from the thread that opened it.
class HistoryDatabase
{
public:
    static constexpr int BusyTimeoutMs = 10000;

    HistoryDatabase();
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    // ~/.local/share/QM416x/history.sqlite (the user's data folder).
    static QString defaultPath();

    // Opens the database at path, creating it (and its folder) when missing.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }
    QString error() const { return m_error; }

    // Starts a logger run; its id, or 0 on failure.
    qint64 startRun(const QString &note = {});
    // Records the capture (its id is ignored); the new id, or 0 on failure.
    qint64 record(const HistoryCapture &capture);
    // Every capture, newest first; only those of one run when runId is not 0.
    std::optional<QList<HistoryEntry>> list(qint64 runId = 0);
    std::optional<HistoryCapture> load(qint64 id);
    bool remove(qint64 id);

private:
    bool prepare();
    bool fail(const QString &what, const QString &reason);
    bool begin();
    bool commit();
    void rollback();

    QString m_connection;
    QString m_path;
    QString m_error;
    bool m_open = false;
};
