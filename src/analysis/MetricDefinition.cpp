#include "MetricDefinition.h"

#include "FftWindow.h"

#include <cmath>

namespace {

QString ordinal(int n)
{
    const int tens = n % 100, ones = n % 10;
    const char *suffix = (tens >= 11 && tens <= 13) ? "th"
                         : ones == 1                ? "st"
                         : ones == 2                ? "nd"
                         : ones == 3                ? "rd"
                                                    : "th";
    return QString::number(n) + QLatin1String(suffix);
}

QString windowName(int window)
{
    const QStringList names = FftWindow::names();
    return window >= 0 && window < names.size() ? names.at(window) : names.first();
}

} // namespace

MetricDefinition MetricDefinition::forWindow(int window)
{
    MetricDefinition d;
    d.window = window;
    return d;
}

int MetricDefinition::defaultBins(int window)
{
    static const int widths[] = {1, 2, 2, 2, 3, 4};
    return window >= 0 && window <= 5 ? widths[window] : 1;
}

QString MetricDefinition::error() const
{
    if (highestHarmonic < 1 || highestHarmonic > MaxHighestHarmonic)
        return QStringLiteral("the highest harmonic must be 1 to %1, not %2")
            .arg(MaxHighestHarmonic)
            .arg(highestHarmonic);
    if (dcBins > MaxExcludedBins || toneBins > MaxExcludedBins)
        return QStringLiteral("at most %1 bins can be excluded around DC or a tone").arg(MaxExcludedBins);
    if (!(sfdrFromHz >= 0) || !(sfdrToHz > sfdrFromHz))
        return QStringLiteral("the SFDR range must run from 0 Hz or more up to a higher frequency");
    if (!(fullScaleCodes >= 0) || !std::isfinite(fullScaleCodes))
        return QStringLiteral("the full scale must be a positive number of codes");
    return {};
}

QStringList MetricDefinition::describe() const
{
    const QString harmonics = highestHarmonic < 2
                                  ? QStringLiteral("Harmonics: none")
                                  : QStringLiteral("Harmonics: 2nd to %1").arg(ordinal(highestHarmonic));
    const QString range =
        wholeBand()
            ? QStringLiteral("SFDR range: whole band")
            : QStringLiteral("SFDR range: %1 Hz to %2")
                  .arg(QString::number(sfdrFromHz, 'g', 10),
                       std::isfinite(sfdrToHz) ? QString::number(sfdrToHz, 'g', 10) + QStringLiteral(" Hz")
                                               : QStringLiteral("half the rate"));
    const QString fullScale =
        fullScaleCodes > 0
            ? QStringLiteral("Full scale: %1 codes").arg(QString::number(fullScaleCodes, 'g', 12))
            : QStringLiteral("Full scale: unknown");
    return {QStringLiteral("Window: %1").arg(windowName(window)), harmonics,
            QStringLiteral("Excluded bins: DC 0..%1, tones \u00B1%2").arg(dcHalfWidth()).arg(toneHalfWidth()),
            range, fullScale};
}

QJsonObject MetricDefinition::toJson() const
{
    return {{"window", windowName(window)},
            {"highest_harmonic", highestHarmonic},
            {"dc_bins", dcHalfWidth()},
            {"tone_bins", toneHalfWidth()},
            {"sfdr_from_hz", sfdrFromHz},
            {"sfdr_to_hz", std::isfinite(sfdrToHz) ? QJsonValue(sfdrToHz) : QJsonValue()},
            {"full_scale_codes", fullScaleCodes}};
}

bool MetricDefinition::operator==(const MetricDefinition &o) const
{
    return window == o.window && highestHarmonic == o.highestHarmonic && dcHalfWidth() == o.dcHalfWidth() &&
           toneHalfWidth() == o.toneHalfWidth() && sfdrFromHz == o.sfdrFromHz && sfdrToHz == o.sfdrToHz &&
           fullScaleCodes == o.fullScaleCodes;
}
