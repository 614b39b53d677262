#pragma once

#include <QString>

// The board's 12-bit DAC: codes 0..4095 for 0..5 V. Entries are converted with 4096 steps
// and the display with 4095 (so 2.5 V typed gives code 2048, shown as 2.501 V), as the
// board has always done it.
class DacScale
{
public:
    static constexpr int MaxCode = 4095;

    // code / 4095 * 5 with three decimals and a point ("#0.000").
    static QString voltageText(int code);
    // volts / 5 * 4096, rounded half to even; not clamped.
    static int codeOfVoltage(double volts);
    static int clamp(int code) { return code > MaxCode ? MaxCode : code < 0 ? 0 : code; }
};
