#include "EditFFT.h"

#include "BitHelpers.h"
#include "FftWindow.h"
#include "Fourier.h"
#include "data/ClassData.h"

#include <cmath>
#include <vector>

namespace {

constexpr double ZeroBinFloorDb = 40.0;

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

FftResult EditFFT(const ClassData &data, int channel, int window)
{
    FftResult result;

    // Time between two conversions of this channel while the converter cycles through
    // every valid channel.
    double period = 0;
    for (int c = 0; c <= data.MaxChannel(); ++c)
        if (data.Valid(c))
            period += data.ChannelTime(c) / 1e6;

    const int count = data.DataCount(channel);
    const int n = 1 << FloorLog2(count, &result.messages);
    if (n > count)
        return failure(result);

    const std::vector<qint32> codes = data.codes(channel);
    std::vector<double> realIn(static_cast<size_t>(n));
    const std::vector<double> imagIn(static_cast<size_t>(n), 0.0);
    for (int i = 0; i < n; ++i)
        realIn[static_cast<size_t>(i)] = codes[static_cast<size_t>(i)] * FftWindow::weight(window, i, n);

    std::vector<double> realOut(static_cast<size_t>(n), 0.0);
    std::vector<double> imagOut(static_cast<size_t>(n), 0.0);
    Fourier(n, realIn, imagIn, realOut, imagOut, &result.messages);

    const int half = n / 2;
    std::vector<double> magnitude(static_cast<size_t>(half) + 1);
    double largest = 0;
    for (int k = 0; k <= half; ++k) {
        const double re = realOut[static_cast<size_t>(k)];
        const double im = imagOut[static_cast<size_t>(k)];
        const double m = 2 * std::sqrt(re * re + im * im) / n;
        magnitude[static_cast<size_t>(k)] = m;
        if (m > largest)
            largest = m;
    }
    if (!(largest > 0) || !std::isfinite(largest) || period == 0 || !std::isfinite(period))
        return failure(result);

    PlotTable &table = result.table;
    table.x.resize(half + 1);
    table.y.resize(half + 1);
    double lowest = 0; // the weakest non-zero bin, in dB
    bool zeroBins = false;
    for (int k = 0; k <= half; ++k) {
        const double m = magnitude[static_cast<size_t>(k)];
        table.x[k] = k / period / n;
        if (m > 0) {
            table.y[k] = decibels(m / largest);
            lowest = qMin(lowest, table.y[k]);
        } else {
            zeroBins = true;
        }
    }
    table.ymin = lowest;
    if (zeroBins) {
        table.ymin = lowest - ZeroBinFloorDb;
        for (int k = 0; k <= half; ++k)
            if (!(magnitude[static_cast<size_t>(k)] > 0))
                table.y[k] = table.ymin;
    }
    table.ymax = 0;
    table.xmin = 0;
    table.xmax = std::floor(1 / period / 2) + 1;
    table.count = half + 1;
    return result;
}
