#include "FigureText.h"

#include "DecimalText.h"
#include "model/Rounding.h"

#include <cmath>

namespace FigureText {

namespace {

struct Rounded
{
    bool negative;
    QString integerPart;
    QString fraction; // exactly `decimals` digits
};

Rounded roundedParts(double value, int decimals)
{
    const double scaled = roundHalfEven(value * std::pow(10.0, decimals));
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9e15) {
        // Too large for exact digit arithmetic: fall back to the plain decimal text.
        const QString text = plainDecimal(roundHalfEven(value));
        const bool negative = text.startsWith(QLatin1Char('-'));
        return {negative, negative ? text.mid(1) : text, QString(decimals, QLatin1Char('0'))};
    }
    const qint64 units = static_cast<qint64>(std::fabs(scaled));
    qint64 power = 1;
    for (int i = 0; i < decimals; ++i)
        power *= 10;
    QString fraction = QString::number(units % power).rightJustified(decimals, QLatin1Char('0'));
    if (decimals == 0)
        fraction.clear();
    return {scaled < 0, QString::number(units / power), fraction};
}

} // namespace

QString fixedDecimals(double value, int decimals, const QString &separator)
{
    decimals = qMax(0, decimals);
    const Rounded r = roundedParts(value, decimals);
    return (r.negative ? QStringLiteral("-") : QString()) + r.integerPart + separator + r.fraction;
}

QString upToDecimals(double value, int decimals, const QString &separator)
{
    decimals = qMax(0, decimals);
    Rounded r = roundedParts(value, decimals);
    while (r.fraction.endsWith(QLatin1Char('0')))
        r.fraction.chop(1);
    QString text = (r.negative ? QStringLiteral("-") : QString()) + r.integerPart;
    if (!r.fraction.isEmpty())
        text += separator + r.fraction;
    return text;
}

double VoltUnit::nanovolts() const
{
    static const double sizes[] = {1.0, 1e3, 1e6, 1e9};
    return sizes[qBound(0, powerOfTen / 3, 3)];
}

VoltUnit voltUnit(double magnitudeNanovolts)
{
    if (magnitudeNanovolts < 1000)
        return {QStringLiteral("nV"), 0};
    if (magnitudeNanovolts < 1e6)
        return {QStringLiteral("uV"), 3};
    if (magnitudeNanovolts < 1e9)
        return {QStringLiteral("mV"), 6};
    return {QStringLiteral("V"), 9};
}

} // namespace FigureText
