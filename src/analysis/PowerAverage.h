#pragma once

#include "FftMagnitudes.h"
#include "FftMetrics.h"

#include <QString>

#include <vector>

class ClassData;

// The spectrum of one channel averaged over captures taken with the same conditions: the
// power of each bin averaged bin by bin (RMS averaging), P(k) = mean over the captures of
// m_i(k)^2, and the magnitudes sqrt(P(k)) that the plot and the tables are drawn from. The
// noise floor keeps its level and its bin-to-bin spread shrinks as 1 / sqrt(K); a tone
// keeps its level.
struct PowerAverage
{
    FftMagnitudes spectrum; // the RMS magnitudes, with the first capture's length and period
    std::vector<double> power;
    int captures = 0;
    double fullScaleCodes = 0; // the first capture's full-scale range in codes (2^bits)
    QString mismatch;          // why the captures cannot be averaged; empty when they could
    int mismatchAt = -1;       // the capture whose conditions differ from the first's
};

// Why channel of other cannot be averaged with the same channel of first: another data
// width or input range ("channel 0 has another input range (code 3, not code 2)"); empty when
// they agree. averagedSpectrum also compares the transform length and the time between
// samples.
QString spectrumMismatch(const ClassData &first, const ClassData &other, int channel);

// The average over captures (none null) of channel (0..7) with the window selector. Empty
// (no magnitudes) with mismatch set when two captures' conditions differ; empty with the
// first capture's messages when it has too few samples. A channel outside 0..7 throws
// DataRangeError.
PowerAverage averagedSpectrum(const std::vector<const ClassData *> &captures, int channel, int window);

// The metrics on the averaged power, as fftMetrics computes them on one capture's; a
// definition without a full scale takes the captures' data width.
FftMetrics averagedMetrics(const PowerAverage &average, const MetricDefinition &definition);
// The same with the window's default definition.
FftMetrics averagedMetrics(const PowerAverage &average, int window);
