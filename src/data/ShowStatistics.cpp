#include "ShowStatistics.h"

#include "ClassData.h"
#include "DecimalText.h"
#include "FigureText.h"
#include "StatisticsFigures.h"
#include "model/QM4168.h"
#include "model/Rounding.h"

#include <cmath>

namespace {

// Noise figures (y >= 0 nanovolts) in the unit that keeps the number below 1000.
QString noiseText(float y, int decimals, const QString &point)
{
    const FigureText::VoltUnit unit = FigureText::voltUnit(y);
    return FigureText::fixedDecimals(y / unit.nanovolts(), decimals, point) + QLatin1Char(' ') + unit.name +
           QLatin1Char(' ');
}

// The average voltage (signed nanovolts) with as many decimals as resolve one code in the
// chosen unit: d decimals in volts, d - 3 in millivolts and so on (never fewer than 0).
QString voltageText(float y, int d, const QString &point)
{
    const double v = y;
    const FigureText::VoltUnit unit = FigureText::voltUnit(std::fabs(y));
    if (unit.powerOfTen < 9)
        return FigureText::fixedDecimals(v / unit.nanovolts(), d - 9 + unit.powerOfTen, point) +
               QLatin1Char(' ') + unit.name + QLatin1Char(' ');
    const double volts = roundHalfEven(v / 1e9, qMax(0, d));
    return (volts >= 0 ? QStringLiteral(" ") : QString()) + plainDecimal(volts) + QStringLiteral(" V ");
}

QString bitsText(int bits)
{
    return QStringLiteral(" %1 Bits ").arg(bits);
}

// Effective bits, to two decimals, with a blank in place of a plus sign.
QString resolutionText(double bits)
{
    const double r = roundHalfEven(bits, 2);
    return (r >= 0 ? QStringLiteral(" ") : QString()) + plainDecimal(r) + QStringLiteral(" Bits ");
}

QString decimalText(qint64 value)
{
    return QString::number(value) + QStringLiteral(" Dec ");
}

} // namespace

QList<StatisticsCell> ShowStatistics(const ClassData &data, int channel, const QM4168 &adc,
                                     const QLocale &locale)
{
    const StatisticsFigures f = statisticsFigures(data, channel, adc);
    const double t = data.ChannelTime(channel);
    const int bits = f.dataWidthBits;

    // Decimal places in volts that resolve one code.
    int d = 10;
    for (double x = f.lsbV; std::isfinite(x) && x * 1e9 > 1; x /= 10)
        --d;

    const QString point = locale.decimalPoint();
    const float rmsNoise = static_cast<float>(f.rmsNoiseV * 1e9);
    const float peakNoise = static_cast<float>(f.pkPkNoiseV * 1e9);
    const float averageVoltage = static_cast<float>(f.avgVoltageV * 1e9);

    QList<StatisticsCell> cells;
    cells.append(
        {QStringLiteral("Conv.Time"), FigureText::upToDecimals(t, 2, point) + QStringLiteral(" us ")});
    cells.append(
        {QStringLiteral("Input Range"), (f.bipolar ? QStringLiteral("\u00B1") : QStringLiteral("+ ")) +
                                            plainDecimal(f.inputRangeV) + QStringLiteral(" V    ")});
    cells.append(
        {QStringLiteral("Data Width"), bits == 16 ? QStringLiteral("16 Bits ") : QStringLiteral("24 Bits ")});
    cells.append({QStringLiteral("Samples"), decimalText(f.samples)});
    cells.append({QStringLiteral("RMS Noise"), noiseText(rmsNoise, 2, point)});
    cells.append({QStringLiteral("Pk-Pk Noise"), noiseText(peakNoise, 3, point)});
    cells.append({QStringLiteral("Avg.Voltage"), voltageText(averageVoltage, d, point)});
    cells.append({QStringLiteral("Code Dev."), decimalText(roundToInt(f.codeDev))});
    cells.append({QStringLiteral("Avg.Code"), decimalText(roundToInt(f.avgCode))});
    cells.append({QStringLiteral("Code Span"), decimalText(f.codeSpan)});
    cells.append({QStringLiteral("Max Code"), decimalText(f.maxCode)});
    cells.append({QStringLiteral("Min Code"), decimalText(f.minCode)});
    cells.append(
        {QStringLiteral("RMS Res."), f.codeDev == 0 ? bitsText(bits) : resolutionText(f.rmsResolutionBits)});
    cells.append({QStringLiteral("Pk-Pk Res."),
                  f.maxCode == f.minCode ? bitsText(bits) : resolutionText(f.pkPkResolutionBits)});
    return cells;
}

QList<StatisticsCell> NoiseFreeStatistics(const ClassData &data, int channel, const QM4168 &adc,
                                          const QLocale &locale)
{
    const StatisticsFigures f = statisticsFigures(data, channel, adc);
    const QString point = locale.decimalPoint();
    const auto bits = [&f](double resolution, bool full) {
        return full ? bitsText(f.dataWidthBits) : resolutionText(resolution);
    };
    return {{QStringLiteral("Pk-Pk Meas."), noiseText(static_cast<float>(f.pkPkNoiseV * 1e9), 3, point)},
            {QStringLiteral("Pk-Pk Count"), decimalText(f.samples)},
            {QStringLiteral("Pk-Pk Est."), noiseText(static_cast<float>(f.pkPkEstimatedV * 1e9), 3, point)},
            {QStringLiteral("NF Meas."), bits(f.noiseFreeBitsMeasured, f.codeSpan <= 0)},
            {QStringLiteral("NF Est."), bits(f.noiseFreeBitsEstimated, !(f.pkPkEstimatedCodes > 0))}};
}
