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
    const std::shared_ptr<const FftWindow::Weights> weights = FftWindow::weights(window, n);
    const double *w = weights->w.data();
    std::vector<double> weighted(static_cast<size_t>(n));
    for (size_t i = 0; i < weighted.size(); ++i)
        weighted[i] = codes[i] * w[i];
    std::vector<double> re, im;
    if (!FourierReal(n, weighted, re, im, &spectrum.messages))
        return spectrum;

    spectrum.magnitude.resize(re.size());
    for (size_t k = 0; k < re.size(); ++k)
        spectrum.magnitude[k] = 2 * std::sqrt(re[k] * re[k] + im[k] * im[k]) / n;
    return spectrum;
}
