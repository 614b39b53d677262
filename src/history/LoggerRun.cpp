#include "LoggerRun.h"

#include "HistoryDatabase.h"
#include "board/Acquisition.h"
#include "board/BoardLink.h"
#include "board/ContReadCounts.h"
#include "board/LinkState.h"
#include "board/RegisterSync.h"
#include "data/ClassData.h"
#include "model/QM4168.h"

#include <algorithm>

LoggerRun::LoggerRun(QM4168 &model, ClassData &store, BoardLink &link, HistoryDatabase &db, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_store(store)
    , m_link(link)
    , m_db(db)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &LoggerRun::captureNow);
}

bool LoggerRun::start(int intervalMs, int samples, int count, const QString &note)
{
    stop();
    m_error.clear();
    m_entries.clear();
    m_runId = m_db.startRun(note);
    if (m_runId == 0) {
        m_error = m_db.error();
        return false;
    }
    m_intervalMs = qMax(0, intervalMs);
    m_samples = samples;
    m_count = count;
    m_done = 0;
    m_note = note;
    m_running = true;
    m_clock.start();
    m_timer.start(0);
    return true;
}

void LoggerRun::stop()
{
    if (!m_running)
        return;
    finish();
}

void LoggerRun::finish()
{
    m_running = false;
    m_timer.stop();
    Q_EMIT finished();
}

QString LoggerRun::acquire()
{
    if (!m_link.isPortOpen())
        return QStringLiteral("the port is not open");
    const ContReadCounts counts = ContReadCounts::refresh(m_model.ChannelCount(), m_model.DataWidth(-1),
                                                          m_samples, m_store.MaxBytes(), m_store.MinCount());
    Acquisition acquisition(m_model, m_store, m_link, nullptr, [&] {
        return std::optional<ContReadResult>(m_link.BrdContRead(counts.amount, m_store));
    });
    const std::optional<ContReadResult> result = acquisition.ReadData();
    if (!result || !result->completed())
        return result ? result->message() : QStringLiteral("no acquisition ran");
    if (!m_store.Valid(-1))
        return QStringLiteral("the board delivered no channel with enough samples");
    return {};
}

void LoggerRun::captureNow()
{
    if (!m_running)
        return;
    // An exchange of the link's own (the read-back after a write, the periodic status read)
    // is over within a few milliseconds: the capture waits for it rather than fail, for up
    // to BusyWaitMs.
    const int state = m_link.BrdState();
    const bool busy =
        m_link.isPortOpen() && state != LinkState::BoardIdle && state != LinkState::BoardAccessed;
    if ((busy || (m_link.isPortOpen() && m_link.UpdateState() != RegisterSync::UpdIdle)) &&
        m_waitedMs < BusyWaitMs) {
        m_waitedMs += 10;
        m_timer.start(10);
        return;
    }
    m_waitedMs = 0;
    const QString failure = acquire();
    HistoryCapture capture;
    if (failure.isEmpty()) {
        capture = HistoryCapture::fromStore(m_store, m_model, m_note);
    } else {
        capture = HistoryCapture::fromStore(ClassData(), m_model, m_note);
        capture.failure = failure;
    }
    capture.runId = m_runId;
    capture.id = m_db.record(capture);
    if (capture.id == 0) {
        m_error = m_db.error();
        finish();
        return;
    }
    ++m_done;
    m_entries << capture.entry();
    Q_EMIT captured(m_entries.last());
    if (!m_running)
        return; // stopped by a listener
    if (m_count != 0 && m_done >= m_count) {
        finish();
        return;
    }
    const qint64 due = static_cast<qint64>(m_done) * m_intervalMs;
    m_timer.start(static_cast<int>(qMax<qint64>(0, due - m_clock.elapsed())));
}

PlotTable LoggerRun::trend(const QList<HistoryEntry> &entries, int channel, Quantity quantity)
{
    PlotTable table;
    if (entries.isEmpty())
        return table;
    const QDateTime first = entries.first().recordedAt;
    for (const HistoryEntry &e : entries) {
        for (const HistoryChannelSummary &c : e.channels) {
            if (c.channel != channel)
                continue;
            table.x << first.msecsTo(e.recordedAt) / 1000.0;
            table.y << (quantity == Quantity::MeanCode      ? c.meanCode
                        : quantity == Quantity::MeanVoltage ? c.avgVoltageV
                                                            : c.rmsNoiseV);
        }
    }
    table.count = table.rows();
    if (table.count > 0) {
        table.xmin = table.x.first();
        table.xmax = table.x.last();
        table.ymin = *std::min_element(table.y.cbegin(), table.y.cend());
        table.ymax = *std::max_element(table.y.cbegin(), table.y.cend());
    }
    return table;
}
