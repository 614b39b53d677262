#pragma once

#include <QString>

// What the continuous-read dialog shows for the enabled channels and the samples asked
// per channel (RefreshCounts), and the amount within its limits: no more than the board's
// memory holds for the channels and data width, no more than 8192, no fewer than the
// store's MinCount.
struct ContReadCounts
{
    static constexpr int MaxAmount = 8192;

    int amount = 0;
    bool enabled = false; // Start, the amount box and the spinner
    QString channelsText; // Label1: "No channel enabled", "1 channel enabled", "3 channels enabled"
    QString samplesText;  // Label2: "Samples " + total samples
    QString bytesText;    // Label3: "Bytes " + total bytes
    // LabelStatus: "Configure some channel"; "4096 samples per channel, as many as the
    // board's memory holds" when the amount asked was lowered to fit; or empty.
    QString statusText;

    // channels: enabled channels; dataWidth: bytes per data word (2 or 3).
    static ContReadCounts refresh(int channels, int dataWidth, int amount, int maxBytes, int minCount);
};
