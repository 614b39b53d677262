// Redraw of the plot windows' plot, offscreen: the time plot of the largest 16-bit
// acquisition of one channel (10,924 samples) and the spectrum of 8,192 samples (4,097 bins).

#include "analysis/EditFFT.h"
#include "analysis/PlotView.h"
#include "analysis/TimePlot.h"
#include "data/ClassData.h"
#include "platform/SilentDialogs.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

// One channel of samples: a sine on noise.
void fill(ClassData &data, int dataWidth, int samples)
{
    std::mt19937 random(416);
    std::normal_distribution<double> noise(0.0, 12.0);
    data.Clear();
    data.setDataWidth(dataWidth);
    data.setRng(0, 0);
    data.setChannelTime(0, 394.694010416667);
    for (int i = 0; i < samples; ++i)
        data.AddExtData(0, static_cast<qint32>(std::lround(
                               20000.0 * std::sin(2 * 3.14159265358979 * 17 * i / samples) + noise(random))));
    data.Process();
}

void replot(benchmark::State &state, const PlotTable &table)
{
    SilentDialogs dialogs;
    PlotView view(dialogs);
    view.resize(1000, 600);
    view.show();
    view.load(table, table.count);
    for (auto _ : state)
        view.replot();
    state.counters["points"] = table.count;
}

void BM_TimePlotReplot(benchmark::State &state)
{
    ClassData data;
    fill(data, 2, 10924);
    replot(state, BuildTimePlot(data, 0));
}

void BM_SpectrumReplot(benchmark::State &state)
{
    ClassData data;
    fill(data, 3, 8192);
    replot(state, EditFFT(data, 0, 2).table);
}

// Building the table and loading it, as a redraw of the window does, then the replot.
void BM_TimePlotRedraw(benchmark::State &state)
{
    ClassData data;
    fill(data, 2, 10924);
    SilentDialogs dialogs;
    PlotView view(dialogs);
    view.resize(1000, 600);
    view.show();
    for (auto _ : state) {
        const PlotTable table = BuildTimePlot(data, 0);
        view.load(table, table.count);
    }
}

void BM_SpectrumRedraw(benchmark::State &state)
{
    ClassData data;
    fill(data, 3, 8192);
    SilentDialogs dialogs;
    PlotView view(dialogs);
    view.resize(1000, 600);
    view.show();
    for (auto _ : state) {
        const PlotTable table = EditFFT(data, 0, 2).table;
        view.load(table, table.count);
    }
}

} // namespace

BENCHMARK(BM_TimePlotReplot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpectrumReplot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimePlotRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpectrumRedraw)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
