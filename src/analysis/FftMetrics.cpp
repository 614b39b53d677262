#include "FftMetrics.h"

#include "FftMagnitudes.h"
#include "FftWindow.h"
#include "data/ClassData.h"

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

FftMetrics invalid(const QString &message, const MetricDefinition &definition)
{
    FftMetrics metrics;
    metrics.message = message;
    metrics.definition = definition;
    return metrics;
}

double decibels(double ratio)
{
    return 10 * std::log10(ratio);
}

} // namespace

FftMetrics fftMetrics(const std::vector<double> &power, const MetricDefinition &definition, double binHz)
{
    if (const QString error = definition.error(); !error.isEmpty())
        return invalid(error, definition);
    const int half = static_cast<int>(power.size()) - 1; // N/2
    const int dc = definition.dcHalfWidth();
    const int width = definition.toneHalfWidth();
    const auto p = [&power](int k) { return power[static_cast<size_t>(k)]; };
    const QString tooFew = QStringLiteral("Too few bins for the metrics with this window");

    int k1 = dc + 1;
    for (int k = dc + 1; k <= half; ++k)
        if (p(k) > p(k1))
            k1 = k;
    if (k1 > half)
        return invalid(tooFew, definition);

    std::vector<Bin> role(power.size(), Bin::Noise);
    const auto mark = [&role, half](int from, int to, Bin what, int lowest) {
        for (int k = std::max(from, lowest); k <= std::min(to, half); ++k)
            if (role[static_cast<size_t>(k)] == Bin::Noise)
                role[static_cast<size_t>(k)] = what;
    };
    mark(0, dc, Bin::Dc, 0);
    mark(k1 - width, k1 + width, Bin::Signal, dc + 1);
    const qint64 n = 2 * static_cast<qint64>(half);
    for (int h = 2; h <= definition.highestHarmonic; ++h) {
        qint64 f = h * static_cast<qint64>(k1) % n;
        if (f > half)
            f = n - f;
        mark(static_cast<int>(f) - width, static_cast<int>(f) + width, Bin::Harmonic, 0);
    }

    double signal = 0, distortion = 0, noise = 0, spur = -1;
    std::vector<double> others; // every bin beyond the DC span outside the fundamental's
    for (int k = dc + 1; k <= half; ++k) {
        const Bin what = role[static_cast<size_t>(k)];
        if (what == Bin::Signal) {
            signal += p(k);
            continue;
        }
        others.push_back(p(k));
        const double hz = k * binHz;
        if (hz >= definition.sfdrFromHz && hz <= definition.sfdrToHz)
            spur = std::max(spur, p(k));
        (what == Bin::Harmonic ? distortion : noise) += p(k);
    }
    if (others.empty())
        return invalid(tooFew, definition);
    // The strongest bin is a tone only when it stands clearly above the floor of the others.
    auto middle = others.begin() + static_cast<std::ptrdiff_t>(others.size() / 2);
    std::nth_element(others.begin(), middle, others.end());
    // A constant input leaves nothing beyond the DC span but the transform's rounding: no
    // tone either.
    double total = 0;
    for (double bin : power)
        total += bin;
    if (!(p(k1) > ToneFloorPower * total) || !(p(k1) > ToneMarginPower * *middle)) {
        FftMetrics none = invalid(QStringLiteral("no tone found"), definition);
        none.noTone = true;
        return none;
    }
    if (spur < 0)
        return invalid(QStringLiteral("No bin of the SFDR range lies outside the DC and the tone's spans"),
                       definition);

    FftMetrics metrics;
    metrics.valid = true;
    metrics.definition = definition;
    metrics.fundamentalBin = k1;
    metrics.fundamentalHz = k1 * binHz;
    metrics.snrDb = decibels(signal / noise);
    metrics.thdDb = decibels(distortion / signal);
    metrics.sinadDb = decibels(signal / (noise + distortion));
    metrics.sfdrDbc = decibels(p(k1) / spur);
    metrics.enobBits = (metrics.sinadDb - 1.76) / 6.02;
    const double gain = FftWindow::powerGain(definition.window, static_cast<int>(n));
    if (definition.fullScaleCodes > 0 && gain > 0) {
        metrics.fullScaleKnown = true;
        metrics.noiseDistortionRmsCodes = std::sqrt((noise + distortion) / (2 * gain));
        metrics.enobFullScaleBits =
            std::log2(definition.fullScaleCodes / (metrics.noiseDistortionRmsCodes * std::sqrt(12.0)));
        metrics.fundamentalDbfs = 20 * std::log10(std::sqrt(signal / gain) / (definition.fullScaleCodes / 2));
    }
    return metrics;
}

FftMetrics fftMetrics(const std::vector<double> &power, int window, double binHz)
{
    return fftMetrics(power, MetricDefinition::forWindow(window), binHz);
}

FftMetrics fftMetrics(const ClassData &data, int channel, const MetricDefinition &definition)
{
    MetricDefinition used = definition;
    if (!(used.fullScaleCodes > 0) && data.DataWidth() > 0)
        used.fullScaleCodes = std::ldexp(1.0, 8 * data.DataWidth());
    const FftMagnitudes spectrum = fftMagnitudes(data, channel, used.window);
    if (spectrum.magnitude.empty())
        return invalid(QStringLiteral("Not enough data for a spectrum"), used);
    if (!(spectrum.period > 0) || !std::isfinite(spectrum.period))
        return invalid(QStringLiteral("No conversion time for the frequency axis"), used);
    std::vector<double> power(spectrum.magnitude.size());
    for (size_t k = 0; k < power.size(); ++k)
        power[k] = spectrum.magnitude[k] * spectrum.magnitude[k];
    return fftMetrics(power, used, spectrum.frequency(1));
}

FftMetrics fftMetrics(const ClassData &data, int channel, int window)
{
    return fftMetrics(data, channel, MetricDefinition::forWindow(window));
}

QStringList metricsLines(const FftMetrics &metrics)
{
    if (!metrics.valid)
        return {};
    const auto line = [](const char *label, double value, int decimals, const char *unit) {
        return QStringLiteral("%1 %2 %3")
            .arg(QLatin1String(label), QString::number(value, 'f', decimals), QLatin1String(unit));
    };
    QStringList lines = {line("Fundamental", metrics.fundamentalHz, 4, "Hz"),
                         line("SNR", metrics.snrDb, 2, "dB"),
                         line("THD", metrics.thdDb, 2, "dB"),
                         line("SINAD", metrics.sinadDb, 2, "dB"),
                         line("SFDR", metrics.sfdrDbc, 2, "dBc"),
                         line("ENOB", metrics.enobBits, 2, "bits")};
    if (metrics.fullScaleKnown)
        lines << line("ENOB(FS)", metrics.enobFullScaleBits, 2, "bits")
              << line("Level", metrics.fundamentalDbfs, 2, "dBFS");
    return lines;
}

QStringList metricsDefinitions()
{
    return {
        QStringLiteral("Fundamental: frequency of the strongest bin beyond the DC span"),
        QStringLiteral("SNR = 10 log10(Ps / Pn): power of the fundamental's span over the noise bins"),
        QStringLiteral("THD = 10 log10(Pd / Ps): power of the harmonics counted over the fundamental's"),
        QStringLiteral("SINAD = 10 log10(Ps / (Pn + Pd)): the fundamental over noise and distortion"),
        QStringLiteral("SFDR = 10 log10(P(k1) / largest other bin): the fundamental over the largest spur"),
        QStringLiteral("ENOB = (SINAD - 1.76) / 6.02: the bits of an ideal converter with that SINAD"),
        QStringLiteral(
            "ENOB(FS) = log2(FSR / (rms noise and distortion * sqrt 12)): the bits of the full scale"),
        QStringLiteral("Level = 20 log10(A / (FSR / 2)): the fundamental's amplitude in dBFS")};
}

QString metricsText(const FftMetrics &metrics)
{
    if (!metrics.valid)
        return metrics.message;
    const QStringList lines = metricsLines(metrics);
    const QString gap = QStringLiteral("    ");
    QStringList rows;
    for (qsizetype i = 0; i < lines.size(); i += 3)
        rows << lines.mid(i, 3).join(gap);
    return rows.join(QLatin1Char('\n'));
}

QString definitionText(const MetricDefinition &definition)
{
    const QStringList items = definition.describe();
    QStringList lines;
    for (qsizetype i = 0; i < items.size(); i += 2)
        lines << items.mid(i, 2).join(QStringLiteral("; "));
    return lines.join(QLatin1Char('\n'));
}
