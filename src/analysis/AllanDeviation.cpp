#include "AllanDeviation.h"

#include "data/ClassData.h"
#include "data/StatisticsFigures.h"

#include <cmath>

AllanCurve allanDeviation(const std::vector<qint32> &codes, double sampleTimeS, double lsbV)
{
    AllanCurve curve;
    const auto n = static_cast<qint64>(codes.size());
    // Integer prefix sums keep every window sum exact: 2^31 codes times 2^31 samples at most.
    std::vector<qint64> sum(codes.size() + 1, 0);
    for (size_t i = 0; i < codes.size(); ++i)
        sum[i + 1] = sum[i] + codes[i];
    for (qint64 m = 1; m <= n / 3; m *= 2) {
        const qint64 count = n - 2 * m + 1;
        double total = 0;
        for (qint64 j = 0; j < count; ++j) {
            // m times the difference of the means of the two adjacent windows.
            const auto d = static_cast<double>(sum[j + 2 * m] - 2 * sum[j + m] + sum[j]);
            total += d * d;
        }
        const double md = static_cast<double>(m);
        AllanPoint p;
        p.tauS = md * sampleTimeS;
        p.adevCode = std::sqrt(total / (2.0 * static_cast<double>(count) * md * md));
        p.adevV = p.adevCode * lsbV;
        p.count = static_cast<int>(count);
        if (curve.minimum < 0 || p.adevCode < curve.points[curve.minimum].adevCode)
            curve.minimum = static_cast<int>(curve.points.size());
        curve.points.push_back(p);
    }
    return curve;
}

AllanCurve allanDeviation(const ClassData &data, int channel, const QM4168 &adc)
{
    const StatisticsFigures f = statisticsFigures(data, channel, adc);
    return allanDeviation(data.codes(channel), f.convTimeS, f.lsbV);
}
