// A series of captures: the spectrum of every channel averaged over 10 captures of
// 8 channels x 1024 codes (24-bit), and the summary of their noise figures.

#include "analysis/PowerAverage.h"
#include "data/CaptureSet.h"
#include "data/ClassData.h"
#include "model/QM4168.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int Captures = 10;
constexpr int Channels = 8;
constexpr int Samples = 1024;

// Ten captures, a sine on noise per channel, different noise in each capture.
std::vector<std::unique_ptr<ClassData>> series()
{
    std::vector<std::unique_ptr<ClassData>> list;
    std::mt19937 random(416);
    std::normal_distribution<double> noise(0.0, 12.0);
    for (int k = 0; k < Captures; ++k) {
        auto d = std::make_unique<ClassData>();
        d->setDataWidth(3);
        for (int c = 0; c < Channels; ++c) {
            d->setRng(c, 1);
            d->setChannelTime(c, 1000);
            for (int i = 0; i < Samples; ++i)
                d->AddExtData(c, static_cast<qint32>(std::lround(
                                     200000.0 * std::sin(2 * 3.14159265358979 * (17 + c) * i / Samples) +
                                     noise(random))));
        }
        d->Process();
        list.push_back(std::move(d));
    }
    return list;
}

// The averaged spectrum of each of the 8 channels over the 10 captures, with its metrics.
void BM_AveragedSpectra(benchmark::State &state)
{
    const auto stores = series();
    std::vector<const ClassData *> captures;
    for (const auto &d : stores)
        captures.push_back(d.get());
    const int window = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int c = 0; c < Channels; ++c) {
            const PowerAverage average = averagedSpectrum(captures, c, window);
            benchmark::DoNotOptimize(averagedMetrics(average, window).snrDb);
        }
    }
}
BENCHMARK(BM_AveragedSpectra)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// The 10 captures added to a capture set and the spread of every figure of every channel.
void BM_SeriesSummary(benchmark::State &state)
{
    const auto stores = series();
    QM4168 adc;
    for (auto _ : state) {
        CaptureSet set;
        for (const auto &d : stores)
            set.add(*d, adc);
        for (int c = 0; c < Channels; ++c)
            for (int f = 0; f < CaptureSet::figures().size(); ++f)
                benchmark::DoNotOptimize(set.spread(c, f).sd);
    }
}
BENCHMARK(BM_SeriesSummary)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
