#include "StatisticsFigures.h"

#include "ClassData.h"
#include "model/QM4168.h"

#include <cmath>

StatisticsFigures statisticsFigures(const ClassData &data, int channel, const QM4168 &adc)
{
    StatisticsFigures f;
    f.channel = channel;
    f.convTimeS = data.ChannelTime(channel) * 1e-6;
    const int rng = data.Rng(channel);
    f.bipolar = adc.Polarity(rng);
    f.inputRangeV = adc.Range(rng);
    f.dataWidthBits = 8 * data.DataWidth();
    f.samples = data.DataCount(channel);
    f.avgCode = data.MeanCode(channel);
    f.codeDev = data.StdDev(channel);
    f.maxCode = data.MaxCode(channel);
    f.minCode = data.MinCode(channel);
    f.codeSpan = static_cast<qint64>(f.maxCode) - f.minCode;

    // Span in volts and one code's worth of it.
    const double p = f.bipolar ? -1.0 : 0.0;
    f.lsbV = (1 - p) * f.inputRangeV / std::pow(2.0, f.dataWidthBits);
    f.rmsNoiseV = f.codeDev * f.lsbV;
    f.pkPkNoiseV = static_cast<double>(f.codeSpan) * f.lsbV;
    f.avgVoltageV = std::floor(f.avgCode) * f.lsbV;
    const auto log2ByLn = [](double x) { return std::log(x) / std::log(2.0); };
    f.rmsResolutionBits = f.codeDev == 0 ? f.dataWidthBits : f.dataWidthBits - log2ByLn(f.codeDev);
    f.pkPkResolutionBits = f.maxCode == f.minCode
                               ? f.dataWidthBits
                               : f.dataWidthBits - log2ByLn(static_cast<double>(f.codeSpan));
    f.pkPkEstimatedCodes = PeakToPeakPerRms * f.codeDev;
    f.pkPkEstimatedV = f.pkPkEstimatedCodes * f.lsbV;
    f.noiseFreeBitsMeasured = noiseFreeBits(f.dataWidthBits, static_cast<double>(f.codeSpan));
    f.noiseFreeBitsEstimated = noiseFreeBits(f.dataWidthBits, f.pkPkEstimatedCodes);
    return f;
}

double noiseFreeBits(int bits, double span)
{
    return span > 0 ? bits - std::log2(span) : bits;
}
