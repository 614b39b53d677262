#include "PowerAverage.h"

#include "data/ClassData.h"

#include <cmath>

namespace {

QString differs(int channel, const QString &what, const QString &value, const QString &expected)
{
    return QStringLiteral("channel %1 has another %2 (%3, not %4)").arg(channel).arg(what, value, expected);
}

} // namespace

QString spectrumMismatch(const ClassData &first, const ClassData &other, int channel)
{
    if (other.DataWidth() != first.DataWidth())
        return differs(channel, QStringLiteral("data width"),
                       QStringLiteral("%1 bits").arg(8 * other.DataWidth()),
                       QStringLiteral("%1 bits").arg(8 * first.DataWidth()));
    if (other.Rng(channel) != first.Rng(channel))
        return differs(channel, QStringLiteral("input range"),
                       QStringLiteral("code %1").arg(other.Rng(channel)),
                       QStringLiteral("code %1").arg(first.Rng(channel)));
    return {};
}

PowerAverage averagedSpectrum(const std::vector<const ClassData *> &captures, int channel, int window)
{
    PowerAverage average;
    for (size_t i = 0; i < captures.size(); ++i) {
        FftMagnitudes one = fftMagnitudes(*captures[i], channel, window);
        if (i == 0) {
            average.spectrum = one;
            if (captures[i]->DataWidth() > 0)
                average.fullScaleCodes = std::ldexp(1.0, 8 * captures[i]->DataWidth());
            average.power.assign(one.magnitude.size(), 0.0);
        }
        const FftMagnitudes &first = average.spectrum;
        average.mismatch = spectrumMismatch(*captures.front(), *captures[i], channel);
        if (average.mismatch.isEmpty() && one.n != first.n)
            average.mismatch =
                differs(channel, QStringLiteral("transform length"), QStringLiteral("%1 codes").arg(one.n),
                        QStringLiteral("%1 codes").arg(first.n));
        if (average.mismatch.isEmpty() &&
            std::fabs(one.period - first.period) > 1e-12 * std::fabs(first.period))
            average.mismatch =
                differs(channel, QStringLiteral("time between samples"),
                        QStringLiteral("%1 s").arg(one.period), QStringLiteral("%1 s").arg(first.period));
        if (!average.mismatch.isEmpty()) {
            average.mismatchAt = static_cast<int>(i);
            average.power.clear();
            average.spectrum.magnitude.clear();
            return average;
        }
        if (one.magnitude.empty()) {
            average.power.clear();
            return average; // too few samples: the first capture's messages say so
        }
        for (size_t k = 0; k < one.magnitude.size(); ++k)
            average.power[k] += one.magnitude[k] * one.magnitude[k];
    }
    average.captures = static_cast<int>(captures.size());
    for (size_t k = 0; k < average.power.size(); ++k) {
        average.power[k] /= average.captures;
        average.spectrum.magnitude[k] = std::sqrt(average.power[k]);
    }
    return average;
}

FftMetrics averagedMetrics(const PowerAverage &average, int window)
{
    return averagedMetrics(average, MetricDefinition::forWindow(window));
}

FftMetrics averagedMetrics(const PowerAverage &average, const MetricDefinition &definition)
{
    FftMetrics none;
    none.definition = definition;
    if (!average.mismatch.isEmpty())
        none.message = average.mismatch;
    else if (average.power.empty())
        none.message = QStringLiteral("Not enough data for a spectrum");
    else if (!(average.spectrum.period > 0) || !std::isfinite(average.spectrum.period))
        none.message = QStringLiteral("No conversion time for the frequency axis");
    else {
        MetricDefinition used = definition;
        if (!(used.fullScaleCodes > 0))
            used.fullScaleCodes = average.fullScaleCodes;
        return fftMetrics(average.power, used, average.spectrum.frequency(1));
    }
    return none;
}
