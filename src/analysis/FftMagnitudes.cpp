#include "FftMagnitudes.h"

#include "BitHelpers.h"
#include "FftWindow.h"
#include "Fourier.h"
#include "data/ClassData.h"

#include <cmath>

FftMagnitudes fftMagnitudes(const ClassData &data, int channel, int window)
{
    FftMagnitudes spectrum;
    for (int c = 0; c <= data.MaxChannel(); ++c)
        if (data.Valid(c))
            spectrum.period += data.ChannelTime(c) / 1e6;

    const int count = data.DataCount(channel);
    const int n = 1 << FloorLog2(count, &spectrum.messages);
    if (n > count)
        return spectrum; // no sample at all
    spectrum.n = n;

    const std::vector<qint32> codes = data.codes(channel);
    std::vector<double> weighted(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        weighted[static_cast<size_t>(i)] = codes[static_cast<size_t>(i)] * FftWindow::weight(window, i, n);
    std::vector<double> re, im;
    if (!FourierReal(n, weighted, re, im, &spectrum.messages))
        return spectrum;

    spectrum.magnitude.resize(re.size());
    for (size_t k = 0; k < re.size(); ++k)
        spectrum.magnitude[k] = 2 * std::sqrt(re[k] * re[k] + im[k] * im[k]) / n;
    return spectrum;
}
