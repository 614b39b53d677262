#pragma once

#include <QtGlobal>

// Turns an input voltage into the converter's 24-bit result the way the chip's data path
// does: scale by the input range, apply the ADC and channel calibration registers, then
// limit to the code range. Bipolar ranges are offset binary around mid-scale (800000h),
// unipolar ranges start at 0. Beyond the code range the result is clamped (CLAMP set) or
// wraps around by one full scale with the over-range flag set, which is how the program's
// data decode expects it.
class SimCoder
{
public:
    static constexpr qint64 FullScale24 = 0xFFFFFF;
    static constexpr qint64 MidScale24 = 0x800000;
    static constexpr qint32 NominalAdcZero = 0x800000;
    static constexpr qint32 NominalAdcGain = 0x800000;
    static constexpr qint32 NominalChannelZero = 0x800000;
    static constexpr qint32 NominalChannelGain = 0x200000;

    struct Calibration
    {
        qint32 adcZero = NominalAdcZero;         // register 06h
        qint32 adcGain = NominalAdcGain;         // register 07h
        qint32 channelZero = NominalChannelZero; // register 10h + c
        qint32 channelGain = NominalChannelGain; // register 18h + c
    };

    // The converter's own (uncalibrated) error: an offset in 24-bit codes and a gain factor.
    struct AdcError
    {
        double offsetCodes = 0.0;
        double gain = 1.0;
    };

    struct Result
    {
        quint32 code24 = 0; // what the data register holds (24 bits)
        bool sign = false;  // input below zero scale
        bool outOfRange = false;
    };

    // The result relative to zero scale, after the ADC calibration but before the channel
    // calibration: what the system calibrations measure.
    static double measured(double volts, double span, bool bipolar, const AdcError &error,
                           const Calibration &cal);
    static Result convert(double volts, double span, bool bipolar, bool clamp, const AdcError &error,
                          const Calibration &cal);

    // Calibration register values that null the given measurement.
    static qint32 zeroCalibration(double measuredCodes);
    static qint32 gainCalibration(double measuredCodes, bool bipolar, qint32 channelZero, qint32 current);
    static qint32 adcZeroCalibration(const AdcError &error);
    static qint32 adcGainCalibration(const AdcError &error);
};
