#include "NoiseDensity.h"

#include "FftWindow.h"
#include "data/StatisticsFigures.h"

#include <algorithm>
#include <cmath>

QString NoiseDensity::enbwText(int window) const
{
    const QStringList names = FftWindow::names();
    return QStringLiteral("ENBW %1 bins (%2 Hz), window %3")
        .arg(QString::number(enbwBins, 'g', 6), QString::number(enbwHz, 'g', 6),
             window >= 0 && window < names.size() ? names.at(window) : names.first());
}

NoiseDensity noiseDensity(const FftMagnitudes &spectrum, int window, double lsbV)
{
    NoiseDensity density;
    density.lsbV = lsbV;
    if (spectrum.magnitude.empty()) {
        density.error = QStringLiteral("Not enough data for a spectrum");
        return density;
    }
    if (!(spectrum.period > 0) || !std::isfinite(spectrum.period)) {
        density.error = QStringLiteral("No conversion time for the frequency axis");
        return density;
    }
    if (!(lsbV > 0) || !std::isfinite(lsbV)) {
        density.error = QStringLiteral("No code size in volts for the channel's range");
        return density;
    }
    const double binHz = spectrum.frequency(1);
    const double gain = FftWindow::coherentGain(window, spectrum.n);
    density.enbwBins = FftWindow::noiseBandwidthBins(window, spectrum.n);
    density.enbwHz = density.enbwBins * binHz;
    const double scale = 2 * gain * gain * density.enbwHz;
    const size_t last = spectrum.magnitude.size() - 1;
    for (size_t k = 0; k <= last; ++k) {
        const double m = spectrum.magnitude[k];
        const double edge = (k == 0 || k == last) ? 0.5 : 1.0;
        density.frequencyHz.push_back(spectrum.frequency(static_cast<int>(k)));
        density.densityV.push_back(std::sqrt(edge * m * m / scale) * lsbV);
    }
    return density;
}

NoiseDensity noiseDensity(const ClassData &data, int channel, int window, const QM4168 &adc)
{
    return noiseDensity(fftMagnitudes(data, channel, window), window,
                        statisticsFigures(data, channel, adc).lsbV);
}

PlotTable densityTable(const NoiseDensity &density)
{
    PlotTable table;
    for (size_t k = 0; k < density.densityV.size(); ++k) {
        table.x << density.frequencyHz[k];
        table.y << density.densityV[k];
        table.ymax = std::max(table.ymax, density.densityV[k]);
    }
    table.xmin = table.ymin = 0;
    table.xmax = table.x.isEmpty() ? 0 : table.x.last();
    table.count = table.rows();
    return table;
}
