#include "SimCoder.h"

#include <cmath>

namespace {
constexpr double Mid = static_cast<double>(SimCoder::MidScale24);
constexpr double Span24 = static_cast<double>(SimCoder::FullScale24 + 1);

qint32 clampRegister(double value)
{
    return static_cast<qint32>(std::llround(std::fmin(std::fmax(value, 1.0), double(SimCoder::FullScale24))));
}
} // namespace

double SimCoder::measured(double volts, double span, bool bipolar, const AdcError &error,
                          const Calibration &cal)
{
    if (span <= 0.0)
        return 0.0;
    const double ideal = volts / span * (bipolar ? Mid : Span24);
    const double raw = ideal * error.gain + error.offsetCodes;
    const double adcGain = cal.adcGain > 0 ? cal.adcGain / double(NominalAdcGain) : 1.0;
    return (raw - (cal.adcZero - NominalAdcZero)) / adcGain;
}

SimCoder::Result SimCoder::convert(double volts, double span, bool bipolar, bool clamp, const AdcError &error,
                                   const Calibration &cal)
{
    const double adcResult = measured(volts, span, bipolar, error, cal);
    const double relative =
        (adcResult - (cal.channelZero - NominalChannelZero)) * (cal.channelGain / double(NominalChannelGain));
    const double zero = bipolar ? Mid : 0.0;
    // Far beyond the range the modulator saturates: the result stays within one extra
    // full scale on either side.
    const double code = std::fmin(std::fmax(std::round(zero + relative), -Span24), 2.0 * Span24 - 1.0);

    Result r;
    r.sign = code < zero;
    qint64 c = static_cast<qint64>(code);
    if (c > FullScale24) {
        r.outOfRange = true;
        c = clamp ? FullScale24 : c - (FullScale24 + 1);
    } else if (c < 0) {
        r.outOfRange = true;
        c = clamp ? 0 : c + (FullScale24 + 1);
    }
    r.code24 = static_cast<quint32>(c);
    return r;
}

qint32 SimCoder::zeroCalibration(double measuredCodes)
{
    return clampRegister(NominalChannelZero + std::round(measuredCodes));
}

qint32 SimCoder::gainCalibration(double measuredCodes, bool bipolar, qint32 channelZero, qint32 current)
{
    const double aboveZero = measuredCodes - (channelZero - NominalChannelZero);
    if (aboveZero < 1.0)
        return current; // nothing usable at the input: the register keeps its value
    const double fullSpan = bipolar ? Mid - 1.0 : Span24 - 1.0;
    return clampRegister(NominalChannelGain * fullSpan / aboveZero);
}

qint32 SimCoder::adcZeroCalibration(const AdcError &error)
{
    return clampRegister(NominalAdcZero + std::round(error.offsetCodes));
}

qint32 SimCoder::adcGainCalibration(const AdcError &error)
{
    return clampRegister(NominalAdcGain * error.gain);
}
