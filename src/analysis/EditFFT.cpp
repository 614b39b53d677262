#include "EditFFT.h"

#include "FftMagnitudes.h"
#include "FftWindow.h"
#include "data/ClassData.h"

#include <cmath>

namespace {

double decibels(double ratio)
{
    return 20 * std::log(ratio) / std::log(10.0);
}

FftResult failure(FftResult result)
{
    result.table = PlotTable();
    result.failed = true;
    result.messages.append(
        {QStringLiteral("Error in VBFFT module--EditFFT"), QString(), UserDialogs::Icon::None});
    return result;
}

} // namespace

FftResult EditFFT(const ClassData &data, int channel, int window, FftScale scale)
{
    const FftMagnitudes spectrum = fftMagnitudes(data, channel, window);
    FftResult result;
    result.messages = spectrum.messages;

    const std::vector<double> &magnitude = spectrum.magnitude;
    double largest = 0;
    for (double m : magnitude)
        if (m > largest)
            largest = m;
    const double period = spectrum.period;
    // dBFS: a full-scale sine at a whole bin reads 0 dBFS whatever the window, so the
    // reference carries the window's coherent gain (the mean of its weights).
    const double gain = spectrum.n > 0 ? FftWindow::weights(window, spectrum.n)->sum / spectrum.n : 0;
    const double reference = scale == FftScale::FullScale ? data.HalfScale() * gain : largest;
    if (!(largest > 0) || !std::isfinite(largest) || period == 0 || !std::isfinite(period) ||
        !(reference > 0))
        return failure(result);
    const double top = decibels(largest / reference); // the strongest bin's level

    const int bins = static_cast<int>(magnitude.size());
    PlotTable &table = result.table;
    table.x.resize(bins);
    table.y.resize(bins);
    double lowest = top; // the weakest non-zero bin, in dB
    bool zeroBins = false;
    for (int k = 0; k < bins; ++k) {
        const double m = magnitude[static_cast<size_t>(k)];
        table.x[k] = spectrum.frequency(k);
        if (m > 0) {
            table.y[k] = decibels(m / reference);
            lowest = qMin(lowest, table.y[k]);
        } else {
            zeroBins = true;
        }
    }
    result.weakestDb = lowest;
    table.ymin = lowest;
    if (zeroBins) {
        table.ymin = qMin(top + ZeroBinFloorDb, lowest - ZeroBinMarginDb);
        for (int k = 0; k < bins; ++k)
            if (!(magnitude[static_cast<size_t>(k)] > 0))
                table.y[k] = table.ymin;
    }
    table.ymax = top;
    table.xmin = 0;
    table.xmax = std::floor(1 / period / 2) + 1;
    table.count = bins;
    return result;
}
