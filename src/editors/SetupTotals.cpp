#include "SetupTotals.h"

#include "data/DecimalText.h"
#include "model/QM4168.h"
#include "model/Rounding.h"

namespace SetupTotals {

double totalTime(const QM4168 &model)
{
    double total = 0.0;
    for (int channel = 0; channel < QM4168::Channels; ++channel)
        if (model.Enable(channel))
            total += model.ConversionTime(channel);
    return total;
}

QString boxText(double value)
{
    const double rounded = roundHalfEven(value, 2);
    const QString text = plainDecimal(rounded);
    return rounded < 0 ? text : QStringLiteral(" ") + text;
}

QString rateText(double total)
{
    if (total == 0.0)
        return QStringLiteral("0");
    return boxText(1000000.0 / total);
}

} // namespace SetupTotals
