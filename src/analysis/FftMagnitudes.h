#pragma once

#include "AnalysisMessage.h"

#include <QList>

#include <vector>

class ClassData;

// The magnitudes of one channel's spectrum, before any scaling to decibels: what the
// spectrum plot and the spectrum metrics are both computed from.
struct FftMagnitudes
{
    // m(k) = 2 |X(k)| / n for k = 0..n/2 (the first and the last bin get the same factor 2),
    // X the transform of the first n codes weighted by the window; empty when there was
    // nothing to transform.
    std::vector<double> magnitude;
    int n = 0; // the transform length: the largest power of two not above the count
    // The time between two conversions of the channel, in seconds: the sum of the conversion
    // times of every valid channel, which the converter cycles through.
    double period = 0;
    QList<AnalysisMessage> messages; // the boxes asked for, in order

    // The frequency of bin k in hertz.
    double frequency(int k) const { return k / period / n; }
};

// The spectrum of channel (0..7) with the window of selector window (FftWindow). Below two
// samples, "Not enough Data" and the refusal of a transform of that length are in messages
// and magnitude is empty. A channel outside 0..7 throws DataRangeError.
FftMagnitudes fftMagnitudes(const ClassData &data, int channel, int window);
