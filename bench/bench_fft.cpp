// The spectrum's transform: FFTW against the program's earlier hand-written radix-2
// routine, on random points, at the largest length the board's memory gives (8192) and
// a smaller one.

#include "HandWrittenFourier.h"
#include "analysis/Fourier.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

std::vector<double> randomPoints(int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    std::vector<double> points(static_cast<size_t>(n));
    for (double &p : points)
        p = value(random);
    return points;
}

// Complex input, all n bins: the interface of Fourier.
void BM_HandWrittenComplex(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> re = randomPoints(n, 1), im = randomPoints(n, 2);
    std::vector<double> reOut, imOut;
    for (auto _ : state) {
        handWrittenFourier(n, re, im, reOut, imOut);
        benchmark::DoNotOptimize(reOut.data());
    }
}
BENCHMARK(BM_HandWrittenComplex)->Arg(1024)->Arg(8192)->Unit(benchmark::kMicrosecond);

void BM_FftwComplex(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> re = randomPoints(n, 1), im = randomPoints(n, 2);
    std::vector<double> reOut, imOut;
    for (auto _ : state) {
        Fourier(n, re, im, reOut, imOut);
        benchmark::DoNotOptimize(reOut.data());
    }
}
BENCHMARK(BM_FftwComplex)->Arg(1024)->Arg(8192)->Unit(benchmark::kMicrosecond);

// Real input, as the spectrum uses it: the earlier routine transformed the codes with an
// all-zero imaginary part; FFTW's real transform gives bins 0..n/2.
void BM_HandWrittenReal(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> re = randomPoints(n, 1), im(static_cast<size_t>(n), 0.0);
    std::vector<double> reOut, imOut;
    for (auto _ : state) {
        handWrittenFourier(n, re, im, reOut, imOut);
        benchmark::DoNotOptimize(reOut.data());
    }
}
BENCHMARK(BM_HandWrittenReal)->Arg(1024)->Arg(8192)->Unit(benchmark::kMicrosecond);

void BM_FftwReal(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> re = randomPoints(n, 1);
    std::vector<double> reOut, imOut;
    for (auto _ : state) {
        FourierReal(n, re, reOut, imOut);
        benchmark::DoNotOptimize(reOut.data());
    }
}
BENCHMARK(BM_FftwReal)->Arg(1024)->Arg(8192)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
