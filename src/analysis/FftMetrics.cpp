#include "FftMetrics.h"

#include "FftMagnitudes.h"

#include <algorithm>
#include <cmath>

namespace {

enum class Bin
{
    Noise,
    Dc,
    Signal,
    Harmonic
};

FftMetrics invalid(const QString &message)
{
    FftMetrics metrics;
    metrics.message = message;
    return metrics;
}

double decibels(double ratio)
{
    return 10 * std::log10(ratio);
}

} // namespace

int spanHalfWidth(int window)
{
    static const int widths[] = {1, 2, 2, 2, 3, 4};
    return window >= 0 && window <= 5 ? widths[window] : 1;
}

FftMetrics fftMetrics(const std::vector<double> &power, int window, double binHz)
{
    const int half = static_cast<int>(power.size()) - 1; // N/2
    const int width = spanHalfWidth(window);
    const auto p = [&power](int k) { return power[static_cast<size_t>(k)]; };

    int k1 = width + 1;
    for (int k = width + 1; k <= half; ++k)
        if (p(k) > p(k1))
            k1 = k;
    if (k1 > half)
        return invalid(QStringLiteral("Too few bins for the metrics with this window"));
    if (!(p(k1) > 0))
        return invalid(QStringLiteral("No signal outside the DC span"));

    std::vector<Bin> role(power.size(), Bin::Noise);
    const auto mark = [&role, half](int from, int to, Bin what, int lowest) {
        for (int k = std::max(from, lowest); k <= std::min(to, half); ++k)
            if (role[static_cast<size_t>(k)] == Bin::Noise)
                role[static_cast<size_t>(k)] = what;
    };
    mark(0, width, Bin::Dc, 0);
    mark(k1 - width, k1 + width, Bin::Signal, width + 1);
    const qint64 n = 2 * static_cast<qint64>(half);
    for (int h = 2; h <= 6; ++h) {
        qint64 f = h * static_cast<qint64>(k1) % n;
        if (f > half)
            f = n - f;
        mark(static_cast<int>(f) - width, static_cast<int>(f) + width, Bin::Harmonic, 0);
    }

    double signal = 0, distortion = 0, noise = 0, spur = 0;
    std::vector<double> others; // every bin beyond the DC span outside the fundamental's
    for (int k = width + 1; k <= half; ++k) {
        const Bin what = role[static_cast<size_t>(k)];
        if (what == Bin::Signal) {
            signal += p(k);
            continue;
        }
        others.push_back(p(k));
        spur = std::max(spur, p(k));
        (what == Bin::Harmonic ? distortion : noise) += p(k);
    }
    if (others.empty())
        return invalid(QStringLiteral("Too few bins for the metrics with this window"));
    // The strongest bin is a tone only when it stands clearly above the floor of the others.
    auto middle = others.begin() + static_cast<std::ptrdiff_t>(others.size() / 2);
    std::nth_element(others.begin(), middle, others.end());
    if (!(p(k1) > ToneMarginPower * *middle)) {
        FftMetrics none = invalid(QStringLiteral("no tone found"));
        none.noTone = true;
        return none;
    }

    FftMetrics metrics;
    metrics.valid = true;
    metrics.fundamentalBin = k1;
    metrics.fundamentalHz = k1 * binHz;
    metrics.snrDb = decibels(signal / noise);
    metrics.thdDb = decibels(distortion / signal);
    metrics.sinadDb = decibels(signal / (noise + distortion));
    metrics.sfdrDbc = decibels(p(k1) / spur);
    metrics.enobBits = (metrics.sinadDb - 1.76) / 6.02;
    return metrics;
}

FftMetrics fftMetrics(const ClassData &data, int channel, int window)
{
    const FftMagnitudes spectrum = fftMagnitudes(data, channel, window);
    if (spectrum.magnitude.empty())
        return invalid(QStringLiteral("Not enough data for a spectrum"));
    if (!(spectrum.period > 0) || !std::isfinite(spectrum.period))
        return invalid(QStringLiteral("No conversion time for the frequency axis"));
    std::vector<double> power(spectrum.magnitude.size());
    for (size_t k = 0; k < power.size(); ++k)
        power[k] = spectrum.magnitude[k] * spectrum.magnitude[k];
    return fftMetrics(power, window, spectrum.frequency(1));
}

QStringList metricsLines(const FftMetrics &metrics)
{
    if (!metrics.valid)
        return {};
    const auto line = [](const char *label, double value, int decimals, const char *unit) {
        return QStringLiteral("%1 %2 %3")
            .arg(QLatin1String(label), QString::number(value, 'f', decimals), QLatin1String(unit));
    };
    return {line("Fundamental", metrics.fundamentalHz, 4, "Hz"),
            line("SNR", metrics.snrDb, 2, "dB"),
            line("THD", metrics.thdDb, 2, "dB"),
            line("SINAD", metrics.sinadDb, 2, "dB"),
            line("SFDR", metrics.sfdrDbc, 2, "dBc"),
            line("ENOB", metrics.enobBits, 2, "bits")};
}

QStringList metricsDefinitions()
{
    return {
        QStringLiteral("Fundamental: frequency of the strongest bin beyond the DC span"),
        QStringLiteral("SNR = 10 log10(Ps / Pn): power of the fundamental's span over the noise bins"),
        QStringLiteral("THD = 10 log10(Pd / Ps): power of harmonics 2 to 6 over the fundamental's"),
        QStringLiteral("SINAD = 10 log10(Ps / (Pn + Pd)): the fundamental over noise and distortion"),
        QStringLiteral("SFDR = 10 log10(P(k1) / largest other bin): the fundamental over the largest spur"),
        QStringLiteral("ENOB = (SINAD - 1.76) / 6.02: the bits of an ideal converter with that SINAD")};
}

QString metricsText(const FftMetrics &metrics)
{
    if (!metrics.valid)
        return metrics.message;
    const QStringList lines = metricsLines(metrics);
    const QString gap = QStringLiteral("    ");
    return lines.mid(0, 3).join(gap) + QLatin1Char('\n') + lines.mid(3).join(gap);
}
