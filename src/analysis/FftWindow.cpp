#include "FftWindow.h"

#include <cmath>
#include <map>
#include <mutex>
#include <utility>

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

std::shared_ptr<const Weights> weights(int selector, int n)
{
    // Every selector outside 1..5 weights nothing: one table serves them all.
    const int kind = selector >= 1 && selector <= 5 ? selector : 0;
    static std::mutex lock;
    static std::map<std::pair<int, int>, std::shared_ptr<const Weights>> kept;
    const std::lock_guard<std::mutex> guard(lock);
    std::shared_ptr<const Weights> &entry = kept[{kind, n}];
    if (!entry) {
        auto table = std::make_shared<Weights>();
        table->w.resize(static_cast<size_t>(qMax(0, n)));
        for (int i = 0; i < n; ++i) {
            table->w[static_cast<size_t>(i)] = weight(kind, i, n);
            table->sum += table->w[static_cast<size_t>(i)];
        }
        entry = std::move(table);
    }
    return entry;
}

double coherentGain(int selector, int n)
{
    return n > 0 ? weights(selector, n)->sum / n : 0;
}

double powerGain(int selector, int n)
{
    if (n < 1)
        return 0;
    double sum = 0;
    for (const double w : weights(selector, n)->w)
        sum += w * w;
    return sum / n;
}

double noiseBandwidthBins(int selector, int n)
{
    const double gain = coherentGain(selector, n);
    return gain > 0 ? powerGain(selector, n) / (gain * gain) : 0;
}

} // namespace FftWindow
