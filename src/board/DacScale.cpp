#include "DacScale.h"

#include "model/Rounding.h"

QString DacScale::voltageText(int code)
{
    return QString::number(roundHalfEven(code / 4095.0 * 5.0, 3), 'f', 3);
}

int DacScale::codeOfVoltage(double volts)
{
    return roundToInt(volts / 5.0 * 4096.0);
}
