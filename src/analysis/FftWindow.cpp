#include "FftWindow.h"

#include <cmath>

namespace FftWindow {

namespace {
constexpr double TwoPi = 6.28318530717958;
constexpr double FourPi = 12.56637061435916;
} // namespace

QStringList names()
{
    return {QStringLiteral("Rectangular"), QStringLiteral("Triangular"), QStringLiteral("Hanning"),
            QStringLiteral("Hamming"),     QStringLiteral("Blackman"),   QStringLiteral("Blackman-Harris")};
}

int selectorOf(const QString &name)
{
    const QStringList list = names();
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

double weight(int selector, int i, int n)
{
    const double a = TwoPi * (i + 1) / n;
    const double b = FourPi * (i + 1) / n;
    switch (selector) {
    case 1:
        return i <= n / 2 ? 2.0 * i / n : 2.0 - 2.0 * i / n;
    case 2:
        return 0.5 * (1 - std::cos(a));
    case 3:
        return 0.54 - 0.46 * std::cos(a);
    case 4:
        return 0.42659071 - 0.49656062 * std::cos(a) + 0.07684867 * std::cos(b);
    case 5:
        return 0.42323 - 0.49755 * std::cos(a) + 0.07922 * std::cos(b);
    default:
        return 1.0;
    }
}

double coherentGain(int selector, int n)
{
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += weight(selector, i, n);
    return n > 0 ? sum / n : 0;
}

double powerGain(int selector, int n)
{
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const double w = weight(selector, i, n);
        sum += w * w;
    }
    return n > 0 ? sum / n : 0;
}

double noiseBandwidthBins(int selector, int n)
{
    const double gain = coherentGain(selector, n);
    return gain > 0 ? powerGain(selector, n) / (gain * gain) : 0;
}

} // namespace FftWindow
