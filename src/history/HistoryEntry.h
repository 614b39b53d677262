#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One line of the history list: what a capture was taken with and what came of it, without
// its codes. Voltages in volts, times in seconds.
struct HistoryChannelSummary
{
    int channel = 0;
    double rangeV = 0;
    bool bipolar = false;
    double convTimeS = 0;
    int samples = 0;
    double meanCode = 0;
    double avgVoltageV = 0;
    double rmsNoiseV = 0;
};

struct HistoryEntry
{
    qint64 id = 0;
    QDateTime recordedAt; // UTC
    qint64 runId = 0;     // 0: not part of a logger run
    int variant = 0;      // 2, 4, 8 or 9
    QString note;
    QString failure; // empty for a completed capture
    QList<HistoryChannelSummary> channels;
};
