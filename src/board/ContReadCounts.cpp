#include "ContReadCounts.h"

ContReadCounts ContReadCounts::refresh(int channels, int dataWidth, int amount, int maxBytes, int minCount)
{
    ContReadCounts c;
    c.amount = amount;
    if (channels <= 0) {
        c.channelsText = QStringLiteral("No channel enabled");
        c.statusText = QStringLiteral("Configure some channel");
        return c;
    }
    c.enabled = true;
    c.channelsText = channels == 1 ? QStringLiteral("1 channel enabled")
                                   : QStringLiteral("%1 channels enabled").arg(channels);
    // The board's memory holds maxBytes: the whole number of samples that fit, never one
    // more (rounding up would ask for more than the board can deliver).
    const int record = dataWidth + 1;
    const int fit = maxBytes / channels / record;
    c.amount = qBound(minCount, qMin(c.amount, qMin(fit, MaxAmount)), MaxAmount);
    if (amount > fit && fit < MaxAmount)
        c.statusText =
            QStringLiteral("%1 samples per channel, as many as the board's memory holds").arg(c.amount);
    c.samplesText = QStringLiteral("Samples %1").arg(channels * c.amount);
    c.bytesText = QStringLiteral("Bytes %1").arg(channels * c.amount * record);
    return c;
}
