#pragma once

#include <QtGlobal>

class ClassData;
class QM4168;

// The conditions and noise figures of one channel as numbers, in SI units: the values the
// noise-figure table (ShowStatistics) formats. Voltages are exact doubles; the table shows
// them through a float in nanovolts, as it always has.
struct StatisticsFigures
{
    int channel = 0;
    int samples = 0;
    double convTimeS = 0;
    double inputRangeV = 0; // the range's magnitude
    bool bipolar = false;
    int dataWidthBits = 0;
    double lsbV = 0; // one code's worth of the span
    double rmsNoiseV = 0;
    double pkPkNoiseV = 0;
    double avgVoltageV = 0; // of the mean code rounded down
    double codeDev = 0;
    double avgCode = 0;
    qint64 codeSpan = 0;
    qint32 maxCode = 0;
    qint32 minCode = 0;
    double rmsResolutionBits = 0;  // the data width when the deviation is zero
    double pkPkResolutionBits = 0; // the data width when every code is the same
};

// The figures of channel (0..7) as the store's Process left them; the span and polarity of
// the range code come from the device model. A channel outside 0..7 throws DataRangeError.
StatisticsFigures statisticsFigures(const ClassData &data, int channel, const QM4168 &adc);
