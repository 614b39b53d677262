#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

// Runs a redraw at most once per interval however often it is asked for. A request after
// a quiet interval runs at once; requests within the interval are gathered into one run
// at its end, so a burst of store events costs one redraw per interval and the last
// request is never lost.
class RedrawThrottle : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultIntervalMs = 40; // at most 25 redraws a second

    explicit RedrawThrottle(std::function<void()> redraw, int intervalMs = DefaultIntervalMs,
                            QObject *parent = nullptr);

    void request();
    // Runs the redraw now (a redraw the user asked for) and drops a pending one.
    void runNow() { run(); }
    // Drops a pending run (the plot was cleared meanwhile).
    void cancel();
    bool pending() const { return m_timer.isActive(); }

private:
    void run();

    std::function<void()> m_redraw;
    int m_intervalMs;
    QElapsedTimer m_last;
    QTimer m_timer;
};
