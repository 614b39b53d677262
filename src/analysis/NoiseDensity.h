#pragma once

#include "FftMagnitudes.h"
#include "PlotTable.h"

#include <QString>

#include <vector>

class ClassData;
class QM4168;

// The one-sided noise spectral density of a channel in V/sqrt(Hz), corrected for its
// window: with m(k) the magnitudes of fftMagnitudes (2 |X(k)| / N), G the window's
// coherent gain, B its equivalent noise bandwidth in bins and f the bin spacing,
//   S(k) = m(k)^2 / (2 G^2 B f)  codes^2/Hz for k = 1..N/2-1,
// half of that at k = 0 and k = N/2 (their m already carries the factor 2), and the
// density sqrt(S(k)) times one code's worth in volts. White noise of deviation sigma codes
// sampled at rate R reads sigma sqrt(2 / R) codes/sqrt(Hz) on average.
struct NoiseDensity
{
    std::vector<double> frequencyHz;
    std::vector<double> densityV; // V/sqrt(Hz), one per bin
    double enbwBins = 0;          // the window's equivalent noise bandwidth, in bins
    double enbwHz = 0;            // the same in hertz
    double lsbV = 0;
    QString error; // why there is no density; empty when there is one

    bool valid() const { return error.isEmpty(); }
    // "ENBW 1.5 bins (0.732 Hz), window Hanning": what the density was corrected with.
    QString enbwText(int window) const;
};

// The density of a spectrum computed with the window selector, one code being lsbV volts.
NoiseDensity noiseDensity(const FftMagnitudes &spectrum, int window, double lsbV);

// The density of channel (0..7) of the store with the window; a code is worth the noise
// figures' volts (StatisticsFigures). A channel outside 0..7 throws DataRangeError.
NoiseDensity noiseDensity(const ClassData &data, int channel, int window, const QM4168 &adc);

// The density as a plot table: x the frequency, y the density in V/sqrt(Hz), x from 0 to
// the last bin's frequency, y from 0 to the largest density.
PlotTable densityTable(const NoiseDensity &density);
