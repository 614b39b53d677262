#pragma once

#include <QtGlobal>

class ClassData;
class QM4168;

// The conditions and noise figures of one channel as numbers, in SI units: the values the
// noise-figure table (ShowStatistics) formats. Voltages are exact doubles; the table shows
// them through a float in nanovolts, as it always has.
struct StatisticsFigures
{
    int channel = 0;
    int samples = 0;
    double convTimeS = 0;
    double inputRangeV = 0; // the range's magnitude
    bool bipolar = false;
    int dataWidthBits = 0;
    double lsbV = 0; // one code's worth of the span
    double rmsNoiseV = 0;
    double pkPkNoiseV = 0;
    double avgVoltageV = 0; // of the mean code rounded down
    double codeDev = 0;
    double avgCode = 0;
    qint64 codeSpan = 0;
    qint32 maxCode = 0;
    qint32 minCode = 0;
    double rmsResolutionBits = 0;  // the data width when the deviation is zero
    double pkPkResolutionBits = 0; // the data width when every code is the same
    // Peak-to-peak noise both ways: measured as max - min of the samples (their count is
    // `samples`), and estimated from the deviation as PeakToPeakPerRms times it; and the
    // noise-free resolution of each, data width - log2(peak-to-peak in codes) (the data
    // width when that is zero).
    double pkPkEstimatedCodes = 0;
    double pkPkEstimatedV = 0;
    double noiseFreeBitsMeasured = 0;
    double noiseFreeBitsEstimated = 0;
};

// The ratio of peak-to-peak to RMS noise for Gaussian noise that 99.9 % of the samples stay
// within: 6.6 standard deviations.
constexpr double PeakToPeakPerRms = 6.6;

// The noise-free resolution of a peak-to-peak noise of span codes in a converter of bits:
// bits - log2(span), or bits when the span is not above zero.
double noiseFreeBits(int bits, double span);

// The figures of channel (0..7) as the store's Process left them; the span and polarity of
// the range code come from the device model. A channel outside 0..7 throws DataRangeError.
StatisticsFigures statisticsFigures(const ClassData &data, int channel, const QM4168 &adc);
