// The analysis of the largest acquisition the board holds: eight channels of 8192 samples
// of 24-bit data. Measures the store's processing, the noise figures, the spectrum and the
// histogram of every channel, the spectrum metrics, the Allan deviation, and the data file
// both ways.

#include "analysis/AllanDeviation.h"
#include "analysis/BuildHistogram.h"
#include "analysis/EditFFT.h"
#include "analysis/FftMagnitudes.h"
#include "analysis/FftMetrics.h"
#include "analysis/FftWindow.h"
#include "analysis/NoiseDensity.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "data/ShowStatistics.h"
#include "model/QM4168.h"
#include "platform/FreedMemory.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fftw3.h>

#include <cmath>
#include <random>

namespace {

constexpr int Channels = 8;
constexpr int Samples = 8192;

// The records of one acquisition as the board streams them: status byte (channel in bits
// 7..5), then three data bytes. A sine on noise around mid-scale, different per channel.
QByteArray acquisitionRecords()
{
    std::mt19937 random(416);
    std::normal_distribution<double> noise(0.0, 12.0);
    QByteArray records;
    records.reserve(Channels * Samples * 4);
    for (int i = 0; i < Samples; ++i) {
        for (int c = 0; c < Channels; ++c) {
            const double value =
                8388608 + 200000.0 * std::sin(2 * 3.14159265358979 * (17 + c) * i / Samples) + noise(random);
            const int word = static_cast<int>(std::lround(value));
            records.append(static_cast<char>(c << 5));
            records.append(static_cast<char>((word >> 16) & 0xFF));
            records.append(static_cast<char>((word >> 8) & 0xFF));
            records.append(static_cast<char>(word & 0xFF));
        }
    }
    return records;
}

void fill(ClassData &data, const QByteArray &records)
{
    data.Clear();
    data.setDataWidth(3);
    data.setClamp(true);
    data.setRefVoltage(2.5);
    for (int c = 0; c < Channels; ++c) {
        data.setRng(c, c % 6);
        data.setChannelTime(c, 394.694010416667);
    }
    for (qsizetype at = 0; at < records.size(); at += 4)
        data.Add(records.mid(at, 4));
    data.Process();
}

struct Acquisition
{
    QM4168 adc;
    ClassData data;
    QByteArray records = acquisitionRecords();

    Acquisition()
    {
        adc.setEvBoard(8);
        fill(data, records);
    }
};

Acquisition &acquisition()
{
    static Acquisition a;
    return a;
}

void analyseEverything(const ClassData &data, const QM4168 &adc)
{
    for (int c = 0; c < Channels; ++c) {
        benchmark::DoNotOptimize(ShowStatistics(data, c, adc, QLocale::c()));
        benchmark::DoNotOptimize(EditFFT(data, c, 2));
        benchmark::DoNotOptimize(BuildHistogram(data, c));
    }
}

void BM_FillFromRecords(benchmark::State &state)
{
    Acquisition &a = acquisition();
    ClassData data;
    for (auto _ : state)
        fill(data, a.records);
    state.SetItemsProcessed(state.iterations() * Channels * Samples);
}
BENCHMARK(BM_FillFromRecords)->Unit(benchmark::kMillisecond);

void BM_Process(benchmark::State &state)
{
    Acquisition &a = acquisition();
    for (auto _ : state)
        a.data.Process();
}
BENCHMARK(BM_Process)->Unit(benchmark::kMillisecond);

void BM_StatisticsTables(benchmark::State &state)
{
    Acquisition &a = acquisition();
    for (auto _ : state)
        for (int c = 0; c < Channels; ++c)
            benchmark::DoNotOptimize(ShowStatistics(a.data, c, a.adc, QLocale::c()));
}
BENCHMARK(BM_StatisticsTables)->Unit(benchmark::kMicrosecond);

void BM_Spectra(benchmark::State &state)
{
    Acquisition &a = acquisition();
    for (auto _ : state)
        for (int c = 0; c < Channels; ++c)
            benchmark::DoNotOptimize(EditFFT(a.data, c, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_Spectra)->Arg(0)->Arg(2)->Arg(5)->Unit(benchmark::kMillisecond);

// One channel's Hanning spectrum as the spectrum window asks for it.
void BM_SpectrumOneChannel(benchmark::State &state)
{
    Acquisition &a = acquisition();
    for (auto _ : state)
        benchmark::DoNotOptimize(EditFFT(a.data, 0, 2));
}
BENCHMARK(BM_SpectrumOneChannel)->Unit(benchmark::kMicrosecond);

// The same work done with FFTW directly, everything prepared beforehand but the codes: the
// weighted codes, the real transform, the magnitudes, the levels in dB of the strongest
// bin and the frequency of every bin.
void BM_SpectrumFftwDirect(benchmark::State &state)
{
    Acquisition &a = acquisition();
    const int n = Samples;
    std::vector<double> window(n);
    for (int i = 0; i < n; ++i)
        window[i] = FftWindow::weight(2, i, n);
    double *in = fftw_alloc_real(n);
    fftw_complex *out = fftw_alloc_complex(n / 2 + 1);
    const fftw_plan plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
    std::vector<double> magnitude(n / 2 + 1), x(n / 2 + 1), y(n / 2 + 1);
    const double period = 8 * 394.694010416667e-6;
    for (auto _ : state) {
        const std::vector<qint32> codes = a.data.codes(0);
        for (int i = 0; i < n; ++i)
            in[i] = codes[i] * window[i];
        fftw_execute(plan);
        double largest = 0;
        for (int k = 0; k <= n / 2; ++k) {
            magnitude[k] = 2 * std::sqrt(out[k][0] * out[k][0] + out[k][1] * out[k][1]) / n;
            largest = std::max(largest, magnitude[k]);
        }
        for (int k = 0; k <= n / 2; ++k) {
            x[k] = k / period / n;
            y[k] = 20 * std::log10(magnitude[k] / largest);
        }
        benchmark::DoNotOptimize(y.data());
        benchmark::DoNotOptimize(x.data());
    }
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}
BENCHMARK(BM_SpectrumFftwDirect)->Unit(benchmark::kMicrosecond);

void BM_FftMetrics(benchmark::State &state)
{
    Acquisition &a = acquisition();
    for (auto _ : state)
        for (int c = 0; c < Channels; ++c)
            benchmark::DoNotOptimize(fftMetrics(a.data, c, 2));
}
BENCHMARK(BM_FftMetrics)->Unit(benchmark::kMillisecond);

// The metrics alone, by a definition of its own, on the power spectrum of one 8192-point
// transform (4097 bins); and the noise density of the same spectrum.
void BM_MetricsOfSpectrum(benchmark::State &state)
{
    Acquisition &a = acquisition();
    const FftMagnitudes spectrum = fftMagnitudes(a.data, 0, 2);
    std::vector<double> power;
    for (double m : spectrum.magnitude)
        power.push_back(m * m);
    MetricDefinition definition = MetricDefinition::forWindow(2);
    definition.highestHarmonic = 9;
    definition.fullScaleCodes = 16777216;
    for (auto _ : state)
        benchmark::DoNotOptimize(fftMetrics(power, definition, spectrum.frequency(1)));
}
BENCHMARK(BM_MetricsOfSpectrum)->Unit(benchmark::kMicrosecond);

void BM_NoiseDensity(benchmark::State &state)
{
    Acquisition &a = acquisition();
    const FftMagnitudes spectrum = fftMagnitudes(a.data, 0, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(noiseDensity(spectrum, 2, 298e-9));
}
BENCHMARK(BM_NoiseDensity)->Unit(benchmark::kMicrosecond);

void BM_Histograms(benchmark::State &state)
{
    Acquisition &a = acquisition();
    for (auto _ : state)
        for (int c = 0; c < Channels; ++c)
            benchmark::DoNotOptimize(BuildHistogram(a.data, c));
}
BENCHMARK(BM_Histograms)->Unit(benchmark::kMillisecond);

// One channel's 8192 codes, m = 1 .. 2048.
void BM_AllanDeviation(benchmark::State &state)
{
    Acquisition &a = acquisition();
    for (auto _ : state)
        benchmark::DoNotOptimize(allanDeviation(a.data, 0, a.adc));
}
BENCHMARK(BM_AllanDeviation)->Unit(benchmark::kMillisecond);

// What the program does after an acquisition: process, then every channel's table,
// spectrum and histogram.
void BM_FullAnalysis(benchmark::State &state)
{
    Acquisition &a = acquisition();
    for (auto _ : state) {
        a.data.Process();
        analyseEverything(a.data, a.adc);
    }
}
BENCHMARK(BM_FullAnalysis)->Unit(benchmark::kMillisecond);

void BM_WriteDataFileToMemory(benchmark::State &state)
{
    Acquisition &a = acquisition();
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteDataFile(buffer, a.data, a.adc);
        bytes = buffer.size();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_WriteDataFileToMemory)->Unit(benchmark::kMillisecond);

void BM_ReadDataFileFromMemory(benchmark::State &state)
{
    Acquisition &a = acquisition();
    QBuffer source;
    source.open(QIODevice::WriteOnly);
    WriteDataFile(source, a.data, a.adc);
    QByteArray text = source.data();
    ClassData data;
    for (auto _ : state) {
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        if (ReadDataFile(buffer, data, a.adc).isError())
            state.SkipWithError("the file did not read back");
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ReadDataFileFromMemory)->Unit(benchmark::kMillisecond);

void BM_DataFileOnDisk(benchmark::State &state)
{
    Acquisition &a = acquisition();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dat"));
    ClassData data;
    for (auto _ : state) {
        if (WriteDataFile(path, a.data, a.adc).isError() || ReadDataFile(path, data, a.adc).isError())
            state.SkipWithError("the file did not go to disk and back");
    }
}
BENCHMARK(BM_DataFileOnDisk)->Unit(benchmark::kMillisecond);

// Opening a data file of 8 x 8192 codes (about 0.5 MB) as the data window does: read,
// every field checked, then Process and Update.
void BM_ReadDataFileOnDisk(benchmark::State &state)
{
    Acquisition &a = acquisition();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dat"));
    if (WriteDataFile(path, a.data, a.adc).isError())
        state.SkipWithError("the file was not written");
    ClassData data;
    for (auto _ : state) {
        if (ReadDataFile(path, data, a.adc).isError())
            state.SkipWithError("the file did not read back");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ReadDataFileOnDisk)->Unit(benchmark::kMillisecond);

} // namespace

// The allocator as the program sets it up.
int main(int argc, char **argv)
{
    FreedMemory::keepFreedMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
