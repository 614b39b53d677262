#pragma once

#include "analysis/RedrawThrottle.h"

#include <QObject>

class LiveCapture;
class QM4168;

// acquire --live: while the continuous read transfers, a line on standard error with the
// records received so far and the samples and RMS noise of each channel, at most twice a
// second and once more when the acquisition ends.
class CliLiveReport : public QObject
{
    Q_OBJECT

public:
    static constexpr int IntervalMs = 500;

    CliLiveReport(LiveCapture &capture, const QM4168 &model, QObject *parent = nullptr);

    // "live: 400 of 400 records; ch 0: 200 samples, RMS Noise 1.23 uV; ch 1: ...", the
    // noise as the data window shows it (left out while a channel holds too few samples).
    static QString line(LiveCapture &capture, const QM4168 &model);

private:
    LiveCapture &m_capture;
    const QM4168 &m_model;
    RedrawThrottle m_throttle;
};
