#pragma once

#include <QStringList>

#include <memory>
#include <vector>

// The weighting windows of the spectrum, by selector (the index in the spectrum window's
// list): 0 Rectangular, 1 Triangular, 2 Hanning, 3 Hamming, 4 Blackman, 5 Blackman-Harris.
namespace FftWindow {

// The list texts, in selector order.
QStringList names();

// The selector whose list text is name (any case), or -1.
int selectorOf(const QString &name);

// The weight of point i of n. The cosine windows are evaluated at i + 1 (the last point
// gets the window's end value); the triangle uses i itself. Selector 0 and any selector
// outside 1..5 weight nothing (1).
double weight(int selector, int i, int n);

// The properties of the n weights w(i): the coherent gain (their mean, what a tone on a
// whole bin keeps of its amplitude), the power gain (the mean of their squares, what noise
// keeps of its power) and the equivalent noise bandwidth in bins, n sum w^2 / (sum w)^2 =
// powerGain / coherentGain^2. All 0 for n < 1.
double coherentGain(int selector, int n);
double powerGain(int selector, int n);
double noiseBandwidthBins(int selector, int n);
// The n weights of a window, weight(selector, 0, n) .. weight(selector, n - 1, n), and
// their sum in that order.
struct Weights
{
    std::vector<double> w;
    double sum = 0;
};

// The weights of selector at length n, computed on the first call for that pair and kept
// for the life of the process (safe to call from any thread; the weights never change).
std::shared_ptr<const Weights> weights(int selector, int n);

} // namespace FftWindow
