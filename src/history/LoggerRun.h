#pragma once

#include "HistoryEntry.h"
#include "analysis/PlotTable.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class BoardLink;
class ClassData;
class HistoryDatabase;
class QM4168;

// A logger run in the program: the data window's acquisition repeated every interval with
// the set-up the model holds, each capture recorded in the history as part of one run. The
// samples go into the store, so the data windows follow the run. A capture that cannot
// start (port closed, link still busy with another exchange after BusyWaitMs) or that fails is recorded as a
// failure, and the run goes on. The next capture is due interval after the start of the previous one's slot
// (no drift); it is scheduled only once the previous one is over, so captures never overlap.
class LoggerRun : public QObject
{
    Q_OBJECT

public:
    enum class Quantity
    {
        MeanCode,
        MeanVoltage, // volts
        RmsNoise     // volts
    };

    static constexpr int BusyWaitMs = 2000;

    LoggerRun(QM4168 &model, ClassData &store, BoardLink &link, HistoryDatabase &db,
              QObject *parent = nullptr);

    // Starts a run: a capture at once, then one every intervalMs, count captures in all (0:
    // until stop). False with the database's error when the run cannot be recorded.
    bool start(int intervalMs, int samples, int count, const QString &note = {});
    void stop();
    bool running() const { return m_running; }
    qint64 runId() const { return m_runId; }
    QString error() const { return m_error; }
    // Every capture of the run so far, oldest first.
    const QList<HistoryEntry> &entries() const { return m_entries; }

    // The trend of one channel: x in seconds from the run's first capture, y the quantity;
    // failed captures and captures without the channel leave a gap (no point).
    static PlotTable trend(const QList<HistoryEntry> &entries, int channel, Quantity quantity);

Q_SIGNALS:
    void captured(const HistoryEntry &entry);
    // The run ended: its count was reached, it was stopped, or a capture could not be
    // recorded (error() says why).
    void finished();

private:
    void captureNow();
    QString acquire();
    void finish();

    QM4168 &m_model;
    ClassData &m_store;
    BoardLink &m_link;
    HistoryDatabase &m_db;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_intervalMs = 0;
    int m_samples = 0;
    int m_count = 0;
    int m_done = 0;
    int m_waitedMs = 0; // waited so far for a busy link before this capture
    bool m_running = false;
    qint64 m_runId = 0;
    QString m_note;
    QString m_error;
    QList<HistoryEntry> m_entries;
};
