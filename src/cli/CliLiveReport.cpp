#include "CliLiveReport.h"

#include "CliOutput.h"
#include "board/LiveCapture.h"
#include "data/ShowStatistics.h"

CliLiveReport::CliLiveReport(LiveCapture &capture, const QM4168 &model, QObject *parent)
    : QObject(parent)
    , m_capture(capture)
    , m_model(model)
    , m_throttle([this] { CliOutput::progress(line(m_capture, m_model) + QLatin1Char('\n')); }, IntervalMs)
{
    connect(&capture, &LiveCapture::recordsArrived, this, [this] { m_throttle.request(); });
    connect(&capture, &LiveCapture::finished, this, [this] {
        if (m_capture.records() > 0)
            m_throttle.runNow();
    });
}

QString CliLiveReport::line(LiveCapture &capture, const QM4168 &model)
{
    const ClassData &data = capture.data();
    QString text =
        QStringLiteral("live: %1 of %2 records").arg(capture.records()).arg(capture.expectedRecords());
    for (const int channel : capture.channels()) {
        text += QStringLiteral("; ch %1: %2 samples").arg(channel).arg(data.DataCount(channel));
        if (!data.Valid(channel))
            continue;
        for (const StatisticsCell &cell : ShowStatistics(data, channel, model, QLocale::c()))
            if (cell.label == QLatin1String("RMS Noise"))
                text += QStringLiteral(", RMS Noise ") + cell.value.trimmed();
    }
    return text;
}
